#include "history/TreeSnapshot.h"

#include "base/ErrorText.h"
#include "base/PathString.h"
#include "base/PlatformCalls.h"
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
    std::sort(snapshot.m_entries.begin(), snapshot.m_entries.end(),
        [](const Entry& a, const Entry& b) { return a.path < b.path; });
    return snapshot;
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
