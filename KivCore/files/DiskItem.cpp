#include "files/DiskItem.h"

#include <sys/stat.h>

namespace kiv::DiskItem {

namespace {

bool examine(const std::string& path, Link link, struct stat& info)
{
    return (link == Link::itself ? ::lstat(path.c_str(), &info) : ::stat(path.c_str(), &info)) == 0;
}

} // namespace

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
