#include "files/ItemAttributes.h"

#include "base/ErrorText.h"
#include "base/PlatformCalls.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kiv {

bool ItemAttributes::isFolder() const
{
    return S_ISDIR(type);
}

bool ItemAttributes::isLink() const
{
    return S_ISLNK(type);
}

ItemAttributes ItemAttributes::changed(const ItemAttributes& from, const ItemAttributes& to) const
{
    ItemAttributes result = *this;
    if (from.permissions != to.permissions)
        result.permissions = to.permissions;
    if (from.owner != to.owner)
        result.owner = to.owner;
    if (from.group != to.group)
        result.group = to.group;
    if (from.modifiedSeconds != to.modifiedSeconds || from.modifiedNanoseconds != to.modifiedNanoseconds) {
        result.modifiedSeconds = to.modifiedSeconds;
        result.modifiedNanoseconds = to.modifiedNanoseconds;
    }
    return result;
}

ItemAttributes ItemAttributes::of(const std::string& path)
{
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0)
        throwSystemError(errno, path);
    const timespec modified = PlatformCalls::modificationTime(info);
    return { std::uint32_t(info.st_mode & 07777), std::uint32_t(info.st_mode & S_IFMT), info.st_uid,
        info.st_gid, modified.tv_sec, modified.tv_nsec };
}

void ItemAttributes::apply(const std::string& path, const ItemAttributes& now, const ItemAttributes& wanted)
{
    // -1 leaves that one alone: a user may change the group of a file whose owner only root may change.
    const uid_t owner = wanted.owner == now.owner ? uid_t(-1) : wanted.owner;
    const gid_t group = wanted.group == now.group ? gid_t(-1) : wanted.group;
    if ((owner != uid_t(-1) || group != gid_t(-1)) && ::lchown(path.c_str(), owner, group) != 0)
        throwSystemError(errno, path);
    // Not following a link that took the item's place since it was read.
    if (!now.isLink() && wanted.permissions != now.permissions
        && ::fchmodat(AT_FDCWD, path.c_str(), mode_t(wanted.permissions), AT_SYMLINK_NOFOLLOW) != 0)
        throwSystemError(errno, path);
    if (wanted.modifiedSeconds == now.modifiedSeconds
        && wanted.modifiedNanoseconds == now.modifiedNanoseconds)
        return;
    const timespec times[2] { { 0, UTIME_OMIT },
        { time_t(wanted.modifiedSeconds), long(wanted.modifiedNanoseconds) } };
    if (::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        throwSystemError(errno, path);
}

} // namespace kiv
