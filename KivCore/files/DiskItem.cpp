#include "files/DiskItem.h"

#include <cerrno>
#include <sys/stat.h>

namespace kiv::DiskItem {

namespace {

bool examine(const std::string& path, Link link, struct stat& info)
{
    return (link == Link::itself ? ::lstat(path.c_str(), &info) : ::stat(path.c_str(), &info)) == 0;
}

} // namespace

Destination destination(const std::string& path)
{
    struct stat info;
    if (examine(path, Link::target, info))
        return S_ISDIR(info.st_mode) ? Destination::folder : Destination::other;
    switch (errno) {
    case ENOENT:
    case ENOTDIR:
        return Destination::nothing;
    case ELOOP:
        return Destination::loop;
    default:
        return Destination::other;
    }
}

bool exists(const std::string& path)
{
    struct stat info;
    return examine(path, Link::itself, info);
}

bool isRealFolder(const std::string& path)
{
    struct stat info;
    return examine(path, Link::itself, info) && S_ISDIR(info.st_mode);
}

bool isSame(const std::string& a, const std::string& b, Link link)
{
    struct stat infoA, infoB;
    return examine(a, link, infoA) && examine(b, link, infoB) && infoA.st_dev == infoB.st_dev
        && infoA.st_ino == infoB.st_ino;
}

} // namespace kiv::DiskItem
