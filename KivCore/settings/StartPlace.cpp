#include "settings/StartPlace.h"

#include "base/ErrorText.h"
#include "base/PathString.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kiv {

namespace {

// 0 when `path` is a folder this user may list, else the errno that says why not.
int folderRefusal(const std::string& path)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return errno;
    ::close(descriptor);
    return 0;
}

StartPlace homeInstead(int errorNumber, const std::string& path)
{
    const std::filesystem::filesystem_error error(
        "", std::filesystem::path(path), std::error_code(errorNumber, std::generic_category()));
    return { {}, {}, userMessage(error) };
}

} // namespace

StartPlace StartPlace::of(const std::string& typed, const std::string& workingFolder)
{
    if (typed.empty())
        return homeInstead(ENOENT, typed);
    const std::string path = PathString::standardizing(
        typed.front() == '/' ? typed : PathString::appendingComponent(workingFolder, typed));
    const int refusal = folderRefusal(path);
    if (refusal == 0)
        return { path, {}, {} };
    // What is there but is no folder (a link to nowhere too) shows in its own folder; a folder
    // refused stays refused.
    struct stat item;
    const bool isFolder = ::stat(path.c_str(), &item) == 0 && S_ISDIR(item.st_mode);
    if (isFolder || ::lstat(path.c_str(), &item) != 0)
        return homeInstead(refusal, path);
    const std::string folder = PathString::parentOrRoot(path);
    if (const int folderRefused = folderRefusal(folder))
        return homeInstead(folderRefused, folder);
    return { folder, PathString::lastComponent(path), {} };
}

} // namespace kiv
