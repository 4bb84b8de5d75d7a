#include "files/TreeRemoval.h"

#include "base/ErrorText.h"
#include "files/DirectoryReader.h"
#include "files/PathString.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kiv::TreeRemoval {

namespace {

bool isDirectory(int parentFd, const char* name, unsigned char type)
{
    if (type != DT_UNKNOWN)
        return type == DT_DIR;
    struct stat info;
    return ::fstatat(parentFd, name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
}

void removeContents(int parentFd, const char* name, const std::string& path)
{
    DirectoryReader reader(parentFd, name, path, DirectoryReader::FinalLink::refuse);
    DirectoryReader::Item item;
    while (reader.next(item)) {
        bool folder = isDirectory(reader.fd(), item.name, item.type);
        if (folder)
            removeContents(reader.fd(), item.name, PathString::appendingComponent(path, item.name));
        if (::unlinkat(reader.fd(), item.name, folder ? AT_REMOVEDIR : 0) != 0)
            throwSystemError(errno, PathString::appendingComponent(path, item.name));
    }
}

} // namespace

void remove(const std::string& path)
{
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0)
        throwSystemError(errno, path);
    if (S_ISDIR(info.st_mode)) {
        removeContents(AT_FDCWD, path.c_str(), path);
        if (::rmdir(path.c_str()) != 0)
            throwSystemError(errno, path);
    } else if (::unlink(path.c_str()) != 0) {
        throwSystemError(errno, path);
    }
}

} // namespace kiv::TreeRemoval
