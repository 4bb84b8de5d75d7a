#include "history/TreeSnapshot.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "base/PathString.h"
#include "base/PlatformCalls.h"
#include "doors/Door.h"
#include "doors/DoorWalk.h"
#include "files/DirectoryReader.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace kiv {

TreeSnapshot TreeSnapshot::of(const std::string& path)
{
    TreeSnapshot snapshot;
    snapshot.add(AT_FDCWD, path.c_str(), "", path);
    snapshot.putInOrder();
    return snapshot;
}

void TreeSnapshot::putInOrder()
{
    std::sort(
        m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) { return a.path < b.path; });
}

namespace {

std::uint32_t typeBits(FileEntry::Kind kind)
{
    switch (kind) {
    case FileEntry::Kind::directory:
        return S_IFDIR;
    case FileEntry::Kind::symlink:
        return S_IFLNK;
    default:
        return S_IFREG;
    }
}

std::uint32_t typeBits(ItemInfo::Type type)
{
    static constexpr FileEntry::Kind kinds[] = { FileEntry::Kind::directory, FileEntry::Kind::regularFile,
        FileEntry::Kind::symlink, FileEntry::Kind::regularFile };
    return typeBits(kinds[static_cast<int>(type)]);
}

} // namespace

TreeSnapshot TreeSnapshot::of(const Door& door, const std::string& path)
{
    const std::optional<ItemInfo> item = door.info(path, Door::Link::itself);
    if (!item)
        throwSystemError(ENOENT, door.displayPath(path));
    TreeSnapshot snapshot;
    snapshot.addSeen("", typeBits(item->type), item->size, item->modified);
    if (item->type == ItemInfo::Type::folder) {
        const std::size_t inside = PathString::appendingComponent(path, "").size();
        const auto visit = [&](const std::string&, const FileEntry& row) {
            snapshot.addSeen(row.id.substr(inside), typeBits(row.kind), row.size, row.modificationDate);
        };
        const auto refused = [&](const std::string& folder, const std::string& why) {
            throw KivError::operationFailed(door.displayPath(folder) + ": " + why);
        };
        DoorWalk(door, visit, refused, nullptr).walk(path);
    }
    snapshot.putInOrder();
    return snapshot;
}

void TreeSnapshot::addSeen(const std::string& relative, std::uint32_t type, std::int64_t size,
    const std::optional<FileTime>& modified)
{
    if (type == S_IFDIR) {
        m_entries.push_back({ relative, type, 0, 0, 0 });
        return;
    }
    const std::int64_t microseconds = modified ? modified->time_since_epoch().count() : 0;
    m_entries.push_back(
        { relative, type, size, microseconds / 1'000'000, (microseconds % 1'000'000) * 1000 });
}

void TreeSnapshot::add(
    int parentFd, const char* name, const std::string& relative, const std::string& fullPath)
{
    struct stat info;
    if (::fstatat(parentFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
        throwSystemError(errno, fullPath);
    if (!S_ISDIR(info.st_mode)) {
        const timespec modified = PlatformCalls::modificationTime(info);
        m_entries.push_back(
            { relative, std::uint32_t(info.st_mode), info.st_size, modified.tv_sec, modified.tv_nsec });
        return;
    }
    // A folder counts by what it holds: its own time changes with every rename inside it, even
    // one that was itself undone since.
    m_entries.push_back({ relative, std::uint32_t(info.st_mode), 0, 0, 0 });
    DirectoryReader reader(parentFd, name, fullPath, DirectoryReader::FinalLink::refuse);
    DirectoryReader::Item item;
    while (reader.next(item)) {
        add(reader.fd(), item.name, PathString::appendingComponent(relative, item.name),
            PathString::appendingComponent(fullPath, item.name));
    }
}

std::optional<TreeSnapshot::Difference> TreeSnapshot::firstDifference(const TreeSnapshot& earlier) const
{
    using Kind = Difference::Kind;
    const auto [mine, theirs] = std::mismatch(
        m_entries.begin(), m_entries.end(), earlier.m_entries.begin(), earlier.m_entries.end());
    const bool mineEnded = mine == m_entries.end();
    const bool theirsEnded = theirs == earlier.m_entries.end();
    if (mineEnded && theirsEnded)
        return std::nullopt;
    if (!mineEnded && !theirsEnded && mine->path == theirs->path)
        return Difference { mine->path, Kind::changed };
    if (theirsEnded || (!mineEnded && mine->path < theirs->path))
        return Difference { mine->path, Kind::added };
    return Difference { theirs->path, Kind::removed };
}

} // namespace kiv
