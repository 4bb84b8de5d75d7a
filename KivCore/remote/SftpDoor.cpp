#include "remote/SftpDoor.h"

#include "base/KivError.h"
#include "base/PathString.h"
#include "jobs/ItemCounter.h"
#include "jobs/ItemFailures.h"
#include "jobs/JobControl.h"
#include "remote/RemoteName.h"
#include "remote/SftpReadStream.h"
#include "remote/SftpSession.h"
#include "remote/SftpTreeRemoval.h"
#include "remote/SftpWriteStream.h"
#include "text/FileNameOrder.h"

#include <filesystem>
#include <limits>
#include <map>

namespace kiv {

namespace {

// The doors open now, by the server as named when dialled and as connected to: one connection per
// server, whichever panel or job asks for it.
struct OpenDoors
{
    std::mutex mutex;
    std::map<std::string, std::weak_ptr<const SftpDoor>> byServer;

    std::shared_ptr<const SftpDoor> find(const std::string& key)
    {
        std::lock_guard lock(mutex);
        const auto found = byServer.find(key);
        return found == byServer.end() ? nullptr : found->second.lock();
    }
};

OpenDoors& openDoors()
{
    static OpenDoors doors;
    return doors;
}

std::string serverKey(const RemotePlace& place)
{
    return place.withPath({}).url();
}

ItemInfo::Type typeOf(const SftpAttributes& attributes)
{
    if (attributes.isFolder())
        return ItemInfo::Type::folder;
    if (attributes.isLink())
        return ItemInfo::Type::link;
    return attributes.isRegularFile() ? ItemInfo::Type::file : ItemInfo::Type::other;
}

ItemInfo infoOf(const SftpAttributes& attributes)
{
    ItemInfo info;
    info.type = typeOf(attributes);
    if (attributes.has(Sftp::hasSize) && info.type != ItemInfo::Type::folder)
        info.size = static_cast<std::int64_t>(std::min<std::uint64_t>(attributes.size, INT64_MAX));
    if (attributes.has(Sftp::hasTimes))
        info.modified = FileTime(std::chrono::seconds(attributes.modificationTime));
    if (attributes.has(Sftp::hasPermissions))
        info.permissions = attributes.permissions & 07777;
    return info;
}

bool isMissing(const std::filesystem::filesystem_error& error)
{
    return error.code() == std::errc::no_such_file_or_directory;
}

FileEntry parentRow(const std::string& folder)
{
    FileEntry entry;
    entry.id = PathString::parentOrRoot(folder);
    entry.name = "..";
    entry.kind = FileEntry::Kind::parentDirectory;
    return entry;
}

// One listed item on its way to a row.
struct Listed
{
    std::string name;
    const SftpAttributes* attributes;
};

void appendRows(std::vector<FileEntry>& rows, const std::vector<Listed>& group, const std::string& folder,
    Door::ListingOrder order)
{
    std::vector<std::string_view> names;
    names.reserve(group.size());
    for (const Listed& item : group)
        names.push_back(item.name);
    std::vector<std::size_t> indices(group.size());
    if (order == Door::ListingOrder::byName)
        indices = FileNameOrder::sortedOrder(names);
    else
        for (std::size_t index = 0; index < indices.size(); ++index)
            indices[index] = index;
    for (const std::size_t index : indices) {
        const Listed& item = group[index];
        rows.push_back(infoOf(*item.attributes).row(PathString::appendingComponent(folder, item.name), item.name));
    }
}

} // namespace

SftpDoor::SftpDoor(RemotePlace dialled, std::shared_ptr<SftpSession> session, SshConnection::Timing timing)
    : m_dialled(std::move(dialled))
    , m_server(session->placeOf({}))
    , m_timing(timing)
    , m_session(std::move(session))
{
}

std::shared_ptr<const SftpDoor> SftpDoor::open(const RemotePlace& place, JobControl& control,
    SshConnection::Timing timing)
{
    OpenDoors& doors = openDoors();
    const RemotePlace dialled = place.withPath({});
    if (auto door = doors.find(serverKey(dialled))) {
        door->reconnect(control);
        return door;
    }
    auto session = SftpSession::open(dialled, control, timing);
    const std::string connectedKey = serverKey(session->placeOf({}));
    std::lock_guard lock(doors.mutex);
    std::shared_ptr<const SftpDoor> door = doors.byServer[connectedKey].lock();
    // Another name for a server already open: its door takes the new connection only if it needs one.
    if (door)
        door->adopt(std::move(session));
    else
        door = std::shared_ptr<const SftpDoor>(new SftpDoor(dialled, std::move(session), timing));
    std::erase_if(doors.byServer, [](const auto& entry) { return entry.second.expired(); });
    doors.byServer[connectedKey] = door;
    doors.byServer[serverKey(dialled)] = door;
    return door;
}

bool SftpDoor::isLost() const
{
    return session()->isLost();
}

bool SftpDoor::adopt(std::shared_ptr<SftpSession> fresh) const
{
    std::lock_guard lock(m_mutex);
    if (!m_session->isLost())
        return false;
    m_session = std::move(fresh);
    return true;
}

void SftpDoor::reconnect(JobControl& control) const
{
    if (!isLost())
        return;
    // Outside the lock: connecting takes its time and may wait on the user's answers.
    adopt(SftpSession::open(m_dialled, control, m_timing));
}

std::shared_ptr<SftpSession> SftpDoor::session() const
{
    std::lock_guard lock(m_mutex);
    return m_session;
}

std::string SftpDoor::absolutePath(const std::string& path, JobControl* control) const
{
    return session()->realPath(path, control);
}

Door::Kind SftpDoor::kind() const
{
    return Kind::remote;
}

bool SftpDoor::isSamePlace(const Door& other) const
{
    const auto* door = dynamic_cast<const SftpDoor*>(&other);
    return door && door->m_server == m_server;
}

std::string SftpDoor::displayPath(const std::string& folder) const
{
    return serverKey(m_server) + folder;
}

const DoorItem* SftpDoor::container() const
{
    return nullptr;
}

std::optional<std::string> SftpDoor::localPath(const std::string&) const
{
    return std::nullopt;
}

std::vector<FileEntry> SftpDoor::list(
    const std::string& folder, HiddenFiles hiddenFiles, ListingOrder order, JobControl* control) const
{
    const auto connection = session();
    if (!connection->stat(folder, control).isFolder())
        throw KivError::notADirectory(folder);
    ItemCounter counter(control);
    const std::vector<SftpEntry> entries = connection->list(folder, control, &counter);
    std::vector<Listed> folders;
    std::vector<Listed> files;
    for (const SftpEntry& entry : entries) {
        // An empty name would stand for the folder itself.
        if (entry.name.empty() || (hiddenFiles == HiddenFiles::hide && entry.name.front() == '.'))
            continue;
        (entry.attributes.isFolder() ? folders : files).push_back({ RemoteName::shown(entry.name), &entry.attributes });
    }
    std::vector<FileEntry> rows;
    rows.reserve(folders.size() + files.size() + 1);
    if (PathString::standardizing(folder) != "/")
        rows.push_back(parentRow(folder));
    appendRows(rows, folders, folder, order);
    appendRows(rows, files, folder, order);
    return rows;
}

std::optional<ItemInfo> SftpDoor::info(const std::string& path, Link link) const
{
    const auto connection = session();
    SftpAttributes attributes;
    try {
        attributes = link == Link::itself ? connection->lstat(path, JobControl::ofThisThread()) : connection->stat(path, JobControl::ofThisThread());
    } catch (const std::filesystem::filesystem_error& error) {
        if (isMissing(error))
            return std::nullopt;
        throw;
    }
    ItemInfo info = infoOf(attributes);
    if (info.type == ItemInfo::Type::link)
        info.linkTarget = connection->readLink(path, JobControl::ofThisThread());
    return info;
}

std::unique_ptr<ReadStream> SftpDoor::read(const std::string& path) const
{
    const auto connection = session();
    const SftpAttributes attributes = connection->stat(path, JobControl::ofThisThread());
    if (!attributes.isRegularFile())
        throw KivError::operationFailed("Not a regular file: " + path);
    return std::make_unique<SftpReadStream>(connection, path, attributes.size);
}

std::unique_ptr<WriteStream> SftpDoor::write(
    const std::string& path, std::optional<std::uint32_t> permissions, Link link) const
{
    return std::make_unique<SftpWriteStream>(session(), path, permissions, link);
}

// A server says only "Failure" for a name that is taken.
void SftpDoor::explainRefusal(const std::string& path) const
{
    const auto failure = std::current_exception();
    if (info(path, Link::itself))
        throw KivError::alreadyExists(path);
    std::rethrow_exception(failure);
}

void SftpDoor::makeFolder(const std::string& path) const
{
    try {
        session()->makeFolder(path, 0777, JobControl::ofThisThread());
    } catch (const KivError&) {
        explainRefusal(path);
    }
}

void SftpDoor::makeLink(const std::string& target, const std::string& path) const
{
    try {
        session()->makeLink(target, path, JobControl::ofThisThread());
    } catch (const KivError&) {
        explainRefusal(path);
    }
}

void SftpDoor::keepAttributes(const std::string& path, const ItemInfo& like) const
{
    if (like.type == ItemInfo::Type::link)
        return;
    SftpAttributes attributes;
    if (like.permissions) {
        attributes.flags |= Sftp::hasPermissions;
        attributes.permissions = *like.permissions;
    }
    // The protocol's times are 32-bit seconds from 1970; the access time goes with them.
    const auto seconds = like.modified
        ? std::chrono::floor<std::chrono::seconds>(like.modified->time_since_epoch()).count()
        : -1;
    if (seconds >= 0 && seconds <= std::numeric_limits<std::uint32_t>::max()) {
        attributes.flags |= Sftp::hasTimes;
        attributes.accessTime = attributes.modificationTime = static_cast<std::uint32_t>(seconds);
    }
    if (attributes.flags != 0)
        session()->setAttributes(path, attributes, JobControl::ofThisThread());
}

void SftpDoor::rename(const std::string& from, const std::string& to) const
{
    if (info(to, Link::itself))
        throw KivError::alreadyExists(to);
    try {
        session()->rename(from, to, SftpSession::Replace::never, JobControl::ofThisThread());
    } catch (const KivError&) {
        explainRefusal(to);
    }
}

void SftpDoor::remove(const std::string& path) const
{
    const auto connection = session();
    if (connection->lstat(path, JobControl::ofThisThread()).isFolder())
        connection->removeFolder(path, JobControl::ofThisThread());
    else
        connection->removeFile(path, JobControl::ofThisThread());
}

// From the listings' own facts, with no second look at each item (SftpTreeRemoval).
void SftpDoor::removeTree(const std::string& path, ItemFailures& failures, JobControl& control) const
{
    failures.attempt([&] { SftpTreeRemoval::remove(*session(), path, control); }, path);
}

bool SftpDoor::sharesFileSystem(const std::string& path, const Door& other, const std::string& otherPath) const
{
    if (!isSamePlace(other))
        return false;
    try {
        const auto connection = session();
        const auto here = connection->fileSystemId(path, nullptr);
        const auto there = connection->fileSystemId(otherPath, nullptr);
        return !here || !there || *here == *there;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace kiv
