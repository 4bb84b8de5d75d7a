#include "trash/Trash.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "base/PlatformCalls.h"
#include "base/UniqueFd.h"
#include "files/DiskItem.h"
#include "base/PathString.h"
#include "trash/TrashInfo.h"
#include "trash/TrashLocation.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace kiv {

namespace {

using PathString::appendingComponent;

// "a.txt", "a.2.txt", "a.3.txt"...: the number goes before the extension so the type still shows.
std::string numberedName(const std::string& name, int number)
{
    if (number == 1)
        return name;
    const auto dot = name.rfind('.');
    const auto stemEnd = dot == std::string::npos || dot == 0 ? name.size() : dot;
    return name.substr(0, stemEnd) + "." + std::to_string(number) + name.substr(stemEnd);
}

// The original path as the .trashinfo file keeps it: relative to the top of a file system's own
// trash, so it still holds when that file system is mounted elsewhere.
std::string pathForInfo(const std::string& path, const std::string& topFolder)
{
    if (topFolder.empty())
        return path;
    std::error_code error;
    const auto folder = std::filesystem::canonical(PathString::parentOrRoot(path), error).string();
    const auto real = appendingComponent(folder, PathString::lastComponent(path));
    return real.substr(topFolder == "/" ? 1 : topFolder.size() + 1);
}

// Creates the info file only if no other item holds that name: false when it is taken.
bool claimInfo(const std::string& infoPath, const std::string& contents)
{
    UniqueFd fd(::open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!fd.valid()) {
        if (errno == EEXIST)
            return false;
        throwSystemError(errno, infoPath);
    }
    if (::write(fd.get(), contents.data(), contents.size()) != ssize_t(contents.size())) {
        const int error = errno;
        ::unlink(infoPath.c_str());
        throwSystemError(error, infoPath);
    }
    return true;
}

[[noreturn]] void throwTrashFailure(int error, const std::string& path)
{
    if (error == EXDEV)
        throw KivError::operationFailed(
            "Cannot move " + path + " to the trash: the trash is on another file system.");
    throwSystemError(error, path);
}

} // namespace

Trash::Trash(std::string homeTrash)
    : m_homeTrash(std::move(homeTrash))
{
}

std::string Trash::homeTrashPath(const std::string& home)
{
#ifdef __APPLE__
    return appendingComponent(home, ".Trash");
#else
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
        return appendingComponent(data, "Trash");
    return appendingComponent(home, ".local/share/Trash");
#endif
}

TrashedItem Trash::moveToTrash(const std::string& path) const
{
    const TrashLocation location = TrashLocation::forItem(path, m_homeTrash);
    const std::string name = PathString::lastComponent(path);
    const std::string info = TrashInfo::text(pathForInfo(path, location.topFolder), std::time(nullptr));
    const bool keepsInfo = !location.infoFolder.empty();
    for (int number = 1; number < 100000; ++number) {
        const std::string candidate = numberedName(name, number);
        TrashedItem item { path, appendingComponent(location.filesFolder, candidate),
            keepsInfo ? appendingComponent(location.infoFolder, candidate + ".trashinfo") : "" };
        // A name left in "files" without its info file is not free either.
        if (DiskItem::exists(item.trashedPath) || (keepsInfo && !claimInfo(item.infoPath, info)))
            continue;
        if (PlatformCalls::renameExclusive(path.c_str(), item.trashedPath.c_str()) == 0)
            return item;
        const int error = errno;
        if (keepsInfo)
            ::unlink(item.infoPath.c_str());
        if (error != EEXIST)
            throwTrashFailure(error, path);
    }
    throw KivError::operationFailed("The trash has no free name left for " + path + ".");
}

void Trash::restore(const TrashedItem& item) const
{
    if (!DiskItem::exists(item.trashedPath))
        throw KivError::operationFailed(item.trashedPath + " is no longer in the trash.");
    if (PlatformCalls::renameExclusive(item.trashedPath.c_str(), item.originalPath.c_str()) != 0) {
        if (errno == EEXIST || errno == ENOTEMPTY)
            throw KivError::alreadyExists(item.originalPath);
        throwSystemError(errno, item.originalPath);
    }
    if (!item.infoPath.empty())
        ::unlink(item.infoPath.c_str());
}

} // namespace kiv
