#include "files/FreeName.h"

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kiv::FreeName {

namespace {

bool isTaken(int folderFd, const std::string& name)
{
    struct stat info;
    return ::fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

} // namespace

std::string numbered(int folderFd, const std::string& name, bool isFolder)
{
    return numbered(name, isFolder, [folderFd](const std::string& candidate) { return isTaken(folderFd, candidate); });
}

std::string numbered(const std::string& name, bool isFolder, const std::function<bool(const std::string&)>& taken)
{
    // "notes.v2.txt" numbers as "notes.v2 (2).txt", "archive.tar.gz" as "archive (2).tar.gz";
    // ".profile" has no extension.
    std::size_t dot = isFolder ? std::string::npos : name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        dot = name.size();
    else if (dot > 4 && name.compare(dot - 4, 4, ".tar") == 0)
        dot -= 4;
    for (int number = 2;; ++number) {
        std::string candidate = name.substr(0, dot) + " (" + std::to_string(number) + ")" + name.substr(dot);
        if (!taken(candidate))
            return candidate;
    }
}

std::string temporary(int folderFd)
{
    static std::atomic<unsigned> counter { 0 };
    // Short whatever the name's length, so it always fits where the name fits.
    const std::string stem = ".tavrin-part-" + std::to_string(::getpid()) + "-";
    for (;;) {
        std::string candidate = stem + std::to_string(counter++);
        if (!isTaken(folderFd, candidate))
            return candidate;
    }
}

} // namespace kiv::FreeName
