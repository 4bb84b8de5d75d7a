#include "files/FileSystemService.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "base/PathString.h"
#include "base/PlatformCalls.h"
#include "files/DirectoryChain.h"
#include "files/DirectoryReader.h"
#include "files/DiskItem.h"
#include "files/LocalReadStream.h"
#include "files/LocalWriteStream.h"
#include "files/TreeRemoval.h"
#include "jobs/ItemCounter.h"
#include "jobs/JobControl.h"
#include "text/FileNameOrder.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <span>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace kiv {

namespace {

// Absent for a time beyond the hundreds of thousands of years a FileTime holds, rather than a
// wrapped-around one. tv_sec counts whole seconds down (-0.5 s is -1 s and 500,000,000 ns).
std::optional<FileTime> fileTime(const timespec& when)
{
    using std::chrono::microseconds;
    constexpr auto limit = std::chrono::duration_cast<std::chrono::seconds>(microseconds::max()).count() - 1;
    if (when.tv_sec > limit || when.tv_sec < -limit)
        return std::nullopt;
    return FileTime(std::chrono::seconds(when.tv_sec)
        + std::chrono::duration_cast<microseconds>(std::chrono::nanoseconds(when.tv_nsec)));
}

// What one listed child needs until its row is built, kept small: rows are built only once,
// in their final order, so a huge folder moves no FileEntry around.
struct ListedChild
{
    std::size_t nameStart; // into the names, each ended by a NUL for the system calls
    std::size_t nameLength;
    bool found = false; // false for a name gone or inaccessible since it was read
    mode_t mode = 0;
    off_t size = 0;
    timespec modified {};
};

// A folder this large has its items looked up by several threads at once: one system call per
// item is most of a listing's time, and the calls do not wait on each other.
constexpr std::size_t itemsForThreads = 8192;
constexpr unsigned maxThreads = 4;
// How often reading the names checks for a cancel.
constexpr std::size_t namesPerCancelCheck = 4096;

// Reads every name of the folder into `names` and returns where each is.
std::vector<ListedChild> readNames(DirectoryReader& reader, Door::HiddenFiles hiddenFiles,
    std::string& names, const JobControl* control)
{
    std::vector<ListedChild> children;
    DirectoryReader::Item item;
    while (reader.next(item)) {
        if (hiddenFiles == Door::HiddenFiles::hide && item.name[0] == '.')
            continue;
        const std::size_t length = std::strlen(item.name);
        children.push_back({ names.size(), length });
        names.append(item.name, length + 1);
        if (control && children.size() % namesPerCancelCheck == 0)
            control->throwIfCancelled();
    }
    return children;
}

// Runs `work(first, last)` over the indices [0, count) in parts: on several threads at once for a
// large count, so that the system calls and allocations of a huge folder do not wait on each
// other. Passes on the first failure (a cancel) once every part has ended.
template <typename Work> void inParts(std::size_t count, Work work)
{
    const unsigned parts
        = count < itemsForThreads ? 1 : std::clamp(std::thread::hardware_concurrency(), 1u, maxThreads);
    const std::size_t share = (count + parts - 1) / parts;
    std::vector<std::exception_ptr> failures(parts);
    std::vector<std::thread> helpers;
    for (unsigned part = 0; part < parts; ++part) {
        auto runPart = [&, part] {
            try {
                work(std::min(count, part * share), std::min(count, (part + 1) * share));
            } catch (...) {
                failures[part] = std::current_exception();
            }
        };
        if (part + 1 < parts)
            helpers.emplace_back(runPart);
        else
            runPart();
    }
    for (auto& helper : helpers)
        helper.join();
    for (const auto& failure : failures) {
        if (failure)
            std::rethrow_exception(failure);
    }
}

// Fills in each child's type, size and time.
void lookUp(int folderFd, const std::string& names, std::vector<ListedChild>& children, JobControl* control)
{
    inParts(children.size(), [&](std::size_t first, std::size_t last) {
        ItemCounter counter(control);
        for (auto& child : std::span(children).subspan(first, last - first)) {
            struct stat info;
            // A name gone or inaccessible since it was read is left out.
            child.found
                = ::fstatat(folderFd, names.c_str() + child.nameStart, &info, AT_SYMLINK_NOFOLLOW) == 0;
            if (child.found) {
                child.mode = info.st_mode;
                child.size = info.st_size;
                child.modified = PlatformCalls::modificationTime(info);
            }
            counter.count();
        }
    });
}

ItemInfo::Type typeOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return ItemInfo::Type::folder;
    if (S_ISLNK(mode))
        return ItemInfo::Type::link;
    return S_ISREG(mode) ? ItemInfo::Type::file : ItemInfo::Type::other;
}

ItemInfo infoOf(mode_t mode, off_t size, const timespec& modified)
{
    ItemInfo info;
    info.type = typeOf(mode);
    info.size = static_cast<std::int64_t>(size);
    info.modified = fileTime(modified);
    info.permissions = static_cast<std::uint32_t>(mode & 07777);
    return info;
}

// `folderPrefix` is the listed folder's path ending in "/".
FileEntry entryFor(const std::string& folderPrefix, std::string_view name, const ListedChild& child)
{
    std::string id;
    id.reserve(folderPrefix.size() + name.size());
    id.append(folderPrefix).append(name);
    return infoOf(child.mode, child.size, child.modified).row(std::move(id), std::string(name));
}

// The children of one group (folders or files) in the order they are shown: file-name order, or
// as listed.
std::vector<const ListedChild*> inOrder(const std::vector<const ListedChild*>& group,
    const std::string& names, Door::ListingOrder order)
{
    if (order == Door::ListingOrder::asListed)
        return group;
    std::vector<std::string_view> groupNames;
    groupNames.reserve(group.size());
    for (const ListedChild* child : group)
        groupNames.push_back(std::string_view(names).substr(child->nameStart, child->nameLength));
    std::vector<const ListedChild*> ordered;
    ordered.reserve(group.size());
    for (auto index : FileNameOrder::sortedOrder(groupNames))
        ordered.push_back(group[index]);
    return ordered;
}

// Appends a row for each of `children`, in their order.
void appendRows(std::vector<FileEntry>& rows, const std::vector<const ListedChild*>& children,
    const std::string& names, const std::string& folderPrefix)
{
    const std::size_t start = rows.size();
    rows.resize(start + children.size());
    inParts(children.size(), [&](std::size_t first, std::size_t last) {
        for (std::size_t index = first; index < last; ++index) {
            const ListedChild& child = *children[index];
            rows[start + index] = entryFor(
                folderPrefix, std::string_view(names).substr(child.nameStart, child.nameLength), child);
        }
    });
}

FileEntry parentRow(const std::string& path)
{
    FileEntry entry;
    entry.id = PathString::parentOrRoot(path);
    entry.name = "..";
    entry.kind = FileEntry::Kind::parentDirectory;
    return entry;
}

[[noreturn]] void throwRenameFailure(int error, const std::string& from, const std::string& to)
{
    if (error == EEXIST || error == ENOTEMPTY)
        throw KivError::alreadyExists(to);
    throwSystemError(error, DiskItem::exists(from) ? to : from);
}

} // namespace

const std::shared_ptr<const FileSystemService>& FileSystemService::shared()
{
    static const auto disk = std::make_shared<const FileSystemService>();
    return disk;
}

std::string FileSystemService::homeDirectoryPath()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir)
        return user->pw_dir;
    return "/";
}

Door::Kind FileSystemService::kind() const
{
    return Kind::localDisk;
}

bool FileSystemService::isSamePlace(const Door& other) const
{
    return other.kind() == Kind::localDisk;
}

std::string FileSystemService::displayPath(const std::string& folder) const
{
    return folder;
}

const DoorItem* FileSystemService::container() const
{
    return nullptr;
}

std::optional<std::string> FileSystemService::localPath(const std::string& path) const
{
    return path;
}

std::vector<FileEntry> FileSystemService::list(
    const std::string& path, HiddenFiles hiddenFiles, ListingOrder order, JobControl* control) const
{
    struct stat folderInfo;
    if (::stat(path.c_str(), &folderInfo) != 0 || !S_ISDIR(folderInfo.st_mode))
        throw KivError::notADirectory(path);

    DirectoryReader reader(AT_FDCWD, path.c_str(), path, DirectoryReader::FinalLink::follow);
    std::string names;
    auto children = readNames(reader, hiddenFiles, names, control);
    lookUp(reader.fd(), names, children, control);
    std::vector<const ListedChild*> folders;
    std::vector<const ListedChild*> files;
    for (const auto& child : children) {
        if (child.found)
            (S_ISDIR(child.mode) ? folders : files).push_back(&child);
    }

    std::vector<FileEntry> rows;
    rows.reserve(folders.size() + files.size() + 1);
    if (PathString::standardizing(path) != "/")
        rows.push_back(parentRow(path));
    auto folderPrefix = PathString::appendingComponent(path, "");
    appendRows(rows, inOrder(folders, names, order), names, folderPrefix);
    appendRows(rows, inOrder(files, names, order), names, folderPrefix);
    return rows;
}

std::optional<ItemInfo> FileSystemService::info(const std::string& path, Link link) const
{
    struct stat status;
    const int result = link == Link::itself ? ::lstat(path.c_str(), &status) : ::stat(path.c_str(), &status);
    if (result != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return std::nullopt;
        throwSystemError(errno, path);
    }
    ItemInfo info = infoOf(status.st_mode, status.st_size, PlatformCalls::modificationTime(status));
    if (info.type == ItemInfo::Type::link) {
        std::string target(static_cast<std::size_t>(std::max<off_t>(status.st_size, 0)) + 1, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length >= 0)
            info.linkTarget = target.substr(0, static_cast<std::size_t>(length));
    }
    return info;
}

std::unique_ptr<ReadStream> FileSystemService::read(const std::string& path) const
{
    return std::make_unique<LocalReadStream>(path);
}

std::unique_ptr<WriteStream> FileSystemService::write(
    const std::string& path, std::optional<std::uint32_t> permissions, Link link) const
{
    return std::make_unique<LocalWriteStream>(path, permissions, link);
}

void FileSystemService::makeFolder(const std::string& path) const
{
    if (::mkdir(path.c_str(), 0777) == 0)
        return;
    // A dangling link there counts as taken: mkdir would report it so too.
    if (errno == EEXIST)
        throw KivError::alreadyExists(path);
    throwSystemError(errno, path);
}

void FileSystemService::makeLink(const std::string& target, const std::string& path) const
{
    if (::symlink(target.c_str(), path.c_str()) == 0)
        return;
    if (errno == EEXIST)
        throw KivError::alreadyExists(path);
    throwSystemError(errno, path);
}

void FileSystemService::keepAttributes(const std::string& path, const ItemInfo& like) const
{
    // A link has no permission bits of its own to set on Linux; only its time is kept.
    if (like.permissions && like.type != ItemInfo::Type::link && ::chmod(path.c_str(), *like.permissions) != 0)
        throwSystemError(errno, path);
    if (!like.modified)
        return;
    const auto sinceEpoch = like.modified->time_since_epoch();
    const auto seconds = std::chrono::floor<std::chrono::seconds>(sinceEpoch);
    const timespec times[2] = { { 0, UTIME_OMIT },
        { static_cast<time_t>(seconds.count()),
            static_cast<long>(std::chrono::duration_cast<std::chrono::nanoseconds>(sinceEpoch - seconds).count()) } };
    if (::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        throwSystemError(errno, path);
}

void FileSystemService::rename(const std::string& from, const std::string& to) const
{
    if (DiskItem::exists(to))
        throw KivError::alreadyExists(to);
    if (PlatformCalls::renameExclusive(from.c_str(), to.c_str()) != 0)
        throwRenameFailure(errno, from, to);
}

void FileSystemService::remove(const std::string& path) const
{
    if (::unlink(path.c_str()) == 0)
        return;
    if ((errno == EISDIR || errno == EPERM) && DiskItem::isRealFolder(path) && ::rmdir(path.c_str()) == 0)
        return;
    throwSystemError(errno, path);
}

// Folder by folder through open descriptors, never through a link (TreeRemoval).
void FileSystemService::removeTree(const std::string& path, ItemFailures& failures, JobControl& control) const
{
    DirectoryChain chain(PathString::parentOrRoot(path));
    TreeRemoval::remove(chain, PathString::lastComponent(path), failures, &control);
}

bool FileSystemService::sharesFileSystem(
    const std::string& path, const Door& other, const std::string& otherPath) const
{
    const std::optional<std::string> otherLocal = other.localPath(otherPath);
    struct stat a, b;
    return otherLocal && ::lstat(path.c_str(), &a) == 0 && ::lstat(otherLocal->c_str(), &b) == 0
        && a.st_dev == b.st_dev;
}

} // namespace kiv
