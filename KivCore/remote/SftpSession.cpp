#include "remote/SftpSession.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "jobs/ItemCounter.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "remote/RemoteError.h"
#include "remote/RemoteName.h"

#include <cerrno>

namespace kiv {

namespace {

constexpr std::string_view posixRenameExtension = "posix-rename@openssh.com";
constexpr std::string_view statvfsExtension = "statvfs@openssh.com";

RemoteError protocolError(const std::string& what)
{
    return RemoteError(RemoteError::Case::protocol, "The server broke the SFTP protocol: " + what);
}

} // namespace

std::shared_ptr<SftpSession> SftpSession::open(const RemotePlace& place, JobControl& control,
    SshConnection::Timing timing)
{
    return std::shared_ptr<SftpSession>(new SftpSession(place, control, timing));
}

SftpSession::SftpSession(const RemotePlace& place, JobControl& control, SshConnection::Timing timing)
    : m_connection(std::make_unique<SshConnection>(place, control, timing))
    , m_where(m_connection->where())
{
    m_channel = std::make_unique<SftpChannel>(m_connection->openSftpChannel(), m_where, timing.silenceLimit);
    readExtensions(m_channel->initialize(&control));
}

SftpSession::~SftpSession()
{
    // The channel goes before the connection that carries it.
    m_channel.reset();
}

RemotePlace SftpSession::placeOf(const std::string& path) const
{
    RemotePlace place { m_connection->user(), m_connection->host(), std::nullopt, path };
    if (m_connection->port() != 22)
        place.port = m_connection->port();
    return place;
}

bool SftpSession::isLost() const
{
    std::lock_guard lock(m_mutex);
    return m_channel->isLost();
}

void SftpSession::readExtensions(const std::string& versionBody)
{
    SftpPacketReader reader(versionBody);
    if (reader.u32() < 3)
        throw protocolError("it speaks a version older than 3");
    while (!reader.atEnd()) {
        const auto name = reader.string();
        const auto data = reader.string();
        if (name == posixRenameExtension && data == "1")
            m_posixRename = true;
        if (name == statvfsExtension && data == "2")
            m_statvfs = true;
    }
}

SftpChannel::Reply SftpSession::call(Sftp::Type type, const Fields& fields, const JobControl* control)
{
    std::lock_guard lock(m_mutex);
    const std::uint32_t id = m_channel->nextId();
    SftpPacketWriter packet(type, id);
    fields(packet);
    m_channel->send(packet.bytes());
    return receiveHeld(id, control);
}

SftpChannel::Reply SftpSession::receiveHeld(std::uint32_t id, const JobControl* control)
{
    // Others go on using the connection: a reply nobody waits for any more must not pile up.
    try {
        return m_channel->receive(id, control);
    } catch (const JobCancelled&) {
        m_channel->abandon(id);
        throw;
    }
}

void SftpSession::callForStatus(Sftp::Type type, const Fields& fields, const std::string& path,
    const JobControl* control)
{
    checkStatus(call(type, fields, control), path);
}

std::uint32_t SftpSession::post(Sftp::Type type, const Fields& fields)
{
    std::lock_guard lock(m_mutex);
    const std::uint32_t id = m_channel->nextId();
    SftpPacketWriter packet(type, id);
    fields(packet);
    m_channel->send(packet.bytes());
    return id;
}

void SftpSession::checkStatus(const SftpChannel::Reply& reply, const std::string& path)
{
    if (reply.type != Sftp::status)
        throw protocolError("a reply of the wrong kind");
    if (SftpPacketReader(reply.body).u32() != Sftp::ok)
        throwStatus(reply.body, path);
}

SftpPacketReader SftpSession::expectReply(const SftpChannel::Reply& reply, Sftp::Type type, const std::string& path)
{
    if (reply.type == Sftp::status)
        throwStatus(reply.body, path);
    if (reply.type != type)
        throw protocolError("a reply of the wrong kind");
    return SftpPacketReader(reply.body);
}

void SftpSession::throwStatus(const std::string& body, const std::string& path)
{
    SftpPacketReader reader(body);
    const std::uint32_t code = reader.u32();
    const std::string message = reader.atEnd() ? std::string() : std::string(reader.string());
    switch (code) {
    case Sftp::noSuchFile:
        throwSystemError(ENOENT, path);
    case Sftp::permissionDenied:
        throwSystemError(EACCES, path);
    case Sftp::endOfFile:
        throw protocolError("an unexpected end of file for " + path);
    case Sftp::unsupported:
        throw KivError::operationFailed("The server cannot do this: " + path);
    default:
        throw KivError::operationFailed((message.empty() ? "Failure" : message) + ": " + path);
    }
}

namespace {

SftpAttributes permissionsOnly(std::uint32_t mode)
{
    SftpAttributes attributes;
    attributes.flags = Sftp::hasPermissions;
    attributes.permissions = mode & 07777;
    return attributes;
}

} // namespace

std::string SftpSession::nameRequest(Sftp::Type type, const std::string& path, const JobControl* control)
{
    const auto reply = call(type, [&](SftpPacketWriter& packet) { packet.string(path); }, control);
    auto reader = expectReply(reply, Sftp::name, path);
    if (reader.u32() != 1)
        throw protocolError("a reply of the wrong kind");
    return std::string(reader.string());
}

SftpAttributes SftpSession::attributesRequest(Sftp::Type type, const std::string& path, const JobControl* control)
{
    const auto reply = call(type, [&](SftpPacketWriter& packet) { packet.string(path); }, control);
    return expectReply(reply, Sftp::attrs, path).attributes();
}

std::string SftpSession::realPath(const std::string& path, const JobControl* control)
{
    return nameRequest(Sftp::realpath, path.empty() ? "." : path, control);
}

SftpAttributes SftpSession::stat(const std::string& path, const JobControl* control)
{
    return attributesRequest(Sftp::stat, path, control);
}

SftpAttributes SftpSession::lstat(const std::string& path, const JobControl* control)
{
    return attributesRequest(Sftp::lstat, path, control);
}

std::string SftpSession::readLink(const std::string& path, const JobControl* control)
{
    return nameRequest(Sftp::readlink, path, control);
}

std::vector<SftpEntry> SftpSession::list(const std::string& path, const JobControl* control, ItemCounter* counter)
{
    const auto opened = call(Sftp::opendir, [&](SftpPacketWriter& packet) { packet.string(path); }, control);
    const std::string handle(expectReply(opened, Sftp::handle, path).string());
    std::vector<SftpEntry> entries;
    try {
        while (readFolder(handle, path, entries, control, counter)) { }
    } catch (...) {
        if (!isLost())
            closeFile(handle, path, false, nullptr);
        throw;
    }
    closeFile(handle, path, false, nullptr);
    return entries;
}

bool SftpSession::readFolder(const std::string& handle, const std::string& path, std::vector<SftpEntry>& entries,
    const JobControl* control, ItemCounter* counter)
{
    const auto reply = call(Sftp::readdir, [&](SftpPacketWriter& packet) { packet.string(handle); }, control);
    if (reply.type == Sftp::status && SftpPacketReader(reply.body).u32() == Sftp::endOfFile)
        return false;
    auto reader = expectReply(reply, Sftp::name, path);
    for (std::uint32_t count = reader.u32(); count > 0; --count) {
        SftpEntry entry;
        entry.name = reader.string();
        reader.string(); // the "ls -l" line, for people
        entry.attributes = reader.attributes();
        if (RemoteName::isDotEntry(entry.name))
            continue;
        entry.usable = !RemoteName::problem(entry.name);
        entries.push_back(std::move(entry));
        if (counter)
            counter->count();
    }
    return true;
}

void SftpSession::makeFolder(const std::string& path, std::uint32_t mode, const JobControl* control)
{
    callForStatus(Sftp::mkdir,
        [&](SftpPacketWriter& packet) { packet.string(path).attributes(permissionsOnly(mode)); }, path, control);
}

void SftpSession::removeFile(const std::string& path, const JobControl* control)
{
    callForStatus(Sftp::remove, [&](SftpPacketWriter& packet) { packet.string(path); }, path, control);
}

void SftpSession::removeFolder(const std::string& path, const JobControl* control)
{
    callForStatus(Sftp::rmdir, [&](SftpPacketWriter& packet) { packet.string(path); }, path, control);
}

void SftpSession::makeLink(const std::string& target, const std::string& path, const JobControl* control)
{
    // OpenSSH's server takes the two paths in the opposite order of the draft; so does its client.
    callForStatus(Sftp::symlink, [&](SftpPacketWriter& packet) { packet.string(target).string(path); }, path,
        control);
}

void SftpSession::setAttributes(const std::string& path, const SftpAttributes& attributes, const JobControl* control)
{
    callForStatus(Sftp::setstat, [&](SftpPacketWriter& packet) { packet.string(path).attributes(attributes); }, path,
        control);
}

std::optional<std::uint64_t> SftpSession::fileSystemId(const std::string& path, const JobControl* control)
{
    if (!m_statvfs)
        return std::nullopt;
    const auto reply = call(Sftp::extended,
        [&](SftpPacketWriter& packet) { packet.string(statvfsExtension).string(path); }, control);
    auto reader = expectReply(reply, Sftp::extendedReply, path);
    // Block size, fragment size, blocks, free, available, files, free, available, then the id.
    for (int field = 0; field < 8; ++field)
        reader.u64();
    return reader.u64();
}

void SftpSession::rename(const std::string& from, const std::string& to, Replace replace, const JobControl* control)
{
    // The plain rename of OpenSSH's server never replaces; its extension is rename(2).
    const bool replacing = replace == Replace::allowed && m_posixRename;
    callForStatus(replacing ? Sftp::extended : Sftp::rename,
        [&](SftpPacketWriter& packet) {
            if (replacing)
                packet.string(posixRenameExtension);
            packet.string(from).string(to);
        },
        from, control);
}

std::string SftpSession::openFile(const std::string& path, std::uint32_t flags, const SftpAttributes& attributes,
    const JobControl* control)
{
    const auto reply = call(Sftp::open,
        [&](SftpPacketWriter& packet) { packet.string(path).u32(flags).attributes(attributes); }, control);
    return std::string(expectReply(reply, Sftp::handle, path).string());
}

SftpAttributes SftpSession::fileAttributes(const std::string& handle, const JobControl* control)
{
    return attributesRequest(Sftp::fstat, handle, control);
}

std::uint32_t SftpSession::sendRead(const std::string& handle, std::uint64_t offset, std::uint32_t length)
{
    return post(Sftp::read, [&](SftpPacketWriter& packet) { packet.string(handle).u64(offset).u32(length); });
}

std::uint32_t SftpSession::sendWrite(const std::string& handle, std::uint64_t offset, std::string_view data)
{
    return post(Sftp::write, [&](SftpPacketWriter& packet) { packet.string(handle).u64(offset).string(data); });
}

std::uint32_t SftpSession::sendSetPermissions(const std::string& handle, std::uint32_t mode)
{
    return post(Sftp::fsetstat,
        [&](SftpPacketWriter& packet) { packet.string(handle).attributes(permissionsOnly(mode)); });
}

SftpChannel::Reply SftpSession::awaitReply(std::uint32_t id, const JobControl* control)
{
    std::lock_guard lock(m_mutex);
    return receiveHeld(id, control);
}

void SftpSession::abandon(std::uint32_t id)
{
    std::lock_guard lock(m_mutex);
    m_channel->abandon(id);
}

void SftpSession::expectOk(std::uint32_t id, const std::string& path, const JobControl* control)
{
    checkStatus(awaitReply(id, control), path);
}

void SftpSession::closeFile(const std::string& handle, const std::string& path, bool wait, const JobControl* control)
{
    const std::uint32_t id = post(Sftp::close, [&](SftpPacketWriter& packet) { packet.string(handle); });
    if (wait)
        expectOk(id, path, control);
    else
        abandon(id);
}

} // namespace kiv
