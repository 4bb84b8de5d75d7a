#include "trash/TrashLocation.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "base/PathString.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kiv {

// macOS has one Trash folder for the user and needs none of this.
#ifndef __APPLE__
namespace {

using PathString::appendingComponent;

dev_t deviceOf(const std::string& path)
{
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0)
        throwSystemError(errno, path);
    return info.st_dev;
}

// The home trash may not exist yet: the folder it will be made in decides its file system.
dev_t deviceOfNearestExisting(std::string path)
{
    struct stat info;
    while (::stat(path.c_str(), &info) != 0 && path != "/")
        path = PathString::parentOrRoot(path);
    return info.st_dev;
}

// Makes the folder `path` private to the user unless it is there; a link or a file in its place,
// or a folder of another user, is no trash folder and throws.
void ensurePrivateFolder(const std::string& path)
{
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        throwSystemError(errno, path);
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0)
        throwSystemError(errno, path);
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
        throw KivError::operationFailed(path + " is not a trash folder of yours.");
}

TrashLocation madeIn(const std::string& trash, std::string topFolder)
{
    ensurePrivateFolder(trash);
    TrashLocation location { appendingComponent(trash, "files"), appendingComponent(trash, "info"),
        std::move(topFolder) };
    ensurePrivateFolder(location.filesFolder);
    ensurePrivateFolder(location.infoFolder);
    return location;
}

TrashLocation homeLocation(const std::string& homeTrash)
{
    std::error_code error;
    std::filesystem::create_directories(PathString::deletingLastComponent(homeTrash), error);
    return madeIn(homeTrash, {});
}

// The highest folder above `path` still on `device`.
std::string topOfFileSystem(const std::string& path, dev_t device)
{
    std::error_code error;
    std::string folder = std::filesystem::canonical(PathString::parentOrRoot(path), error).string();
    if (error)
        throwSystemError(error.value(), PathString::parentOrRoot(path));
    struct stat info;
    while (folder != "/") {
        const std::string up = PathString::parentOrRoot(folder);
        if (::stat(up.c_str(), &info) != 0 || info.st_dev != device)
            break;
        folder = up;
    }
    return folder;
}

// A shared .Trash is trusted only when it is a sticky folder, not a link: else others could read
// or swap what the user throws away.
bool isSharedTrash(const std::string& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && (info.st_mode & S_ISVTX);
}

TrashLocation topLocation(const std::string& path, dev_t device)
{
    const std::string top = topOfFileSystem(path, device);
    const std::string uid = std::to_string(::getuid());
    const std::string shared = appendingComponent(top, ".Trash");
    try {
        if (isSharedTrash(shared))
            return madeIn(appendingComponent(shared, uid), top);
        return madeIn(appendingComponent(top, ".Trash-" + uid), top);
    } catch (const std::exception& error) {
        throw KivError::operationFailed("There is no trash on the file system of " + path + " (at " + top
            + "), and none could be made there: " + userMessage(error));
    }
}

} // namespace
#endif

TrashLocation TrashLocation::forItem(const std::string& path, const std::string& homeTrash)
{
#ifdef __APPLE__
    // The user's Trash is one folder; items of other volumes go there by a rename or not at all.
    (void)path;
    return { homeTrash, {}, {} };
#else
    const dev_t device = deviceOf(path);
    if (device == deviceOfNearestExisting(homeTrash))
        return homeLocation(homeTrash);
    return topLocation(path, device);
#endif
}

} // namespace kiv
