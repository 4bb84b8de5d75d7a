#include "FileSystemService.h"

#include "DirectoryReader.h"
#include "ErrorText.h"
#include "FileNameOrder.h"
#include "KivError.h"
#include "PathString.h"
#include "TreeCopy.h"
#include "TreeRemoval.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kiv {

namespace {

std::string permissionText(const struct stat& info)
{
    static constexpr char letters[] = "rwxrwxrwx";
    std::string text(10, '-');
    text[0] = S_ISDIR(info.st_mode) ? 'd' : '-';
    for (int bit = 0; bit < 9; ++bit) {
        if (info.st_mode & (0400 >> bit)) text[static_cast<std::size_t>(bit) + 1] = letters[bit];
    }
    return text;
}

FileTime modificationTime(const struct stat& info)
{
    auto sinceEpoch
        = std::chrono::seconds(info.st_mtim.tv_sec) + std::chrono::nanoseconds(info.st_mtim.tv_nsec);
    return FileTime(std::chrono::duration_cast<FileTime::duration>(sinceEpoch));
}

FileEntry entryFor(const std::string& folder, const char* name, const struct stat& info)
{
    FileEntry entry;
    entry.id = PathString::appendingComponent(folder, name);
    entry.name = name;
    if (S_ISDIR(info.st_mode))
        entry.kind = FileEntry::Kind::directory;
    else if (S_ISLNK(info.st_mode))
        entry.kind = FileEntry::Kind::symlink;
    else
        entry.kind = FileEntry::kindForRegularFile(entry.name);
    entry.size = entry.kind == FileEntry::Kind::directory ? 0 : static_cast<std::int64_t>(info.st_size);
    entry.modificationDate = modificationTime(info);
    entry.permissions = permissionText(info);
    return entry;
}

FileEntry parentRow(const std::string& path)
{
    auto parent = PathString::deletingLastComponent(path);
    FileEntry entry;
    entry.id = parent.empty() ? "/" : parent;
    entry.name = "..";
    entry.kind = FileEntry::Kind::parentDirectory;
    return entry;
}

bool exists(const std::string& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

bool isRealDirectory(const std::string& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isSameItem(const std::string& a, const std::string& b)
{
    struct stat infoA, infoB;
    return ::lstat(a.c_str(), &infoA) == 0 && ::lstat(b.c_str(), &infoB) == 0 && infoA.st_dev == infoB.st_dev
        && infoA.st_ino == infoB.st_ino;
}

std::string resolved(const std::string& path)
{
    char buffer[PATH_MAX];
    return ::realpath(path.c_str(), buffer) ? std::string(buffer) : PathString::standardizing(path);
}

// A folder copied or moved into itself would never end; refuse before touching anything.
void refuseFolderIntoItself(const std::string& from, const std::string& toDirectory, const char* verb)
{
    if (isRealDirectory(from) && PathString::isSameOrInside(resolved(toDirectory), resolved(from))) {
        throw KivError::operationFailed(std::string("Cannot ") + verb + " the folder " + from
            + " into itself or into one of its own subfolders.");
    }
}

// Renames without ever replacing what is at `to`, even something that appeared a moment ago.
// Returns false (errno set) on failure; EEXIST means the target is taken.
bool renameNoReplace(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // The file system cannot rename exclusively; check as closely as we can.
    if (exists(to)) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

void renameOrThrow(const std::string& from, const std::string& to)
{
    if (renameNoReplace(from, to)) return;
    int error = errno;
    if (error == EEXIST || error == ENOTEMPTY) throw KivError::alreadyExists(to);
    throwSystemError(error, exists(from) ? to : from);
}

} // namespace

std::vector<FileEntry> FileSystemService::listDirectory(const std::string& path, bool showHidden) const
{
    struct stat folderInfo;
    if (::stat(path.c_str(), &folderInfo) != 0 || !S_ISDIR(folderInfo.st_mode))
        throw KivError::notADirectory(path);

    DirectoryReader reader(AT_FDCWD, path.c_str(), path, DirectoryReader::FinalLink::follow);
    std::vector<FileEntry> folders;
    std::vector<FileEntry> files;
    DirectoryReader::Item item;
    while (reader.next(item)) {
        if (!showHidden && item.name[0] == '.') continue;
        struct stat info;
        if (::fstatat(reader.fd(), item.name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue; // gone or inaccessible since it was listed: leave it out
        auto entry = entryFor(path, item.name, info);
        (entry.kind == FileEntry::Kind::directory ? folders : files).push_back(std::move(entry));
    }
    FileNameOrder::sort(folders);
    FileNameOrder::sort(files);

    std::vector<FileEntry> rows;
    rows.reserve(folders.size() + files.size() + 1);
    if (PathString::standardizing(path) != "/") rows.push_back(parentRow(path));
    std::move(folders.begin(), folders.end(), std::back_inserter(rows));
    std::move(files.begin(), files.end(), std::back_inserter(rows));
    return rows;
}

void FileSystemService::makeDirectory(const std::string& name, const std::string& parent) const
{
    auto target = PathString::appendingComponent(parent, name);
    if (exists(target)) throw KivError::alreadyExists(target);
    if (::mkdir(target.c_str(), 0777) != 0) {
        if (errno == EEXIST) throw KivError::alreadyExists(target);
        throwSystemError(errno, target);
    }
}

void FileSystemService::rename(const std::string& from, const std::string& newName) const
{
    auto target = PathString::appendingComponent(PathString::deletingLastComponent(from), newName);
    if (exists(target)) throw KivError::alreadyExists(target);
    renameOrThrow(from, target);
}

void FileSystemService::move(const std::string& from, const std::string& toDirectory) const
{
    refuseFolderIntoItself(from, toDirectory, "move");
    auto target = PathString::appendingComponent(toDirectory, PathString::lastComponent(from));
    if (exists(target)) throw KivError::alreadyExists(target);
    if (renameNoReplace(from, target)) return;
    if (errno != EXDEV) renameOrThrow(from, target);
    // Another file system: the source goes only once the whole copy is there.
    TreeCopy::copyNew(from, target);
    TreeRemoval::remove(from);
}

void FileSystemService::copy(const std::string& from, const std::string& toDirectory, bool overwrite) const
{
    refuseFolderIntoItself(from, toDirectory, "copy");
    auto target = PathString::appendingComponent(toDirectory, PathString::lastComponent(from));
    if (exists(target)) {
        if (!overwrite) throw KivError::alreadyExists(target);
        if (isSameItem(from, target))
            return; // the target already is the source: removing it first would destroy it
        if (isRealDirectory(target) && PathString::isSameOrInside(resolved(from), resolved(target)))
            throw KivError::operationFailed(
                "Cannot replace the folder " + target + " with an item inside it.");
        TreeRemoval::remove(target);
    }
    TreeCopy::copyNew(from, target);
}

void FileSystemService::deleteItem(const std::string& path) const
{
    TreeRemoval::remove(path);
}

std::string FileSystemService::homeDirectoryPath() const
{
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir) return user->pw_dir;
    return "/";
}

} // namespace kiv
