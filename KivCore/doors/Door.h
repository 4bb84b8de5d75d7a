#pragma once

#include "base/FileEntry.h"
#include "doors/ItemInfo.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kiv {

class ItemFailures;
class JobControl;
class ReadStream;
class WriteStream;
struct DoorItem;

// The one way into a place where files live: the local disk, the inside of an archive, the items
// a search found, a folder on another machine. Panels list through a door and jobs read and write
// through doors, so copying is one code path whatever the two places are, and the application
// above the core never calls the file system itself.
//
// Any member may block for as long as the place takes to answer (a dead network mount, a server
// that stopped): call them on a worker, never on the UI thread. Every member may be called from
// several threads at once. A door is held by shared pointer; what it lists and reads lives on.
//
// Paths are the door's own: absolute paths on the local disk and on another machine, member paths
// inside an archive ("" for its root, "docs/" for a folder, "docs/a.txt" for a file). The `id` of
// a row list() gives is the path of that item on the same door.
//
// Failures throw: KivError::notADirectory (list() of what is no folder), alreadyExists (a name
// taken), operationFailed (what the place cannot do, such as writing inside an archive, with the
// reason), the platform's error naming the path (std::filesystem::filesystem_error: "Permission
// denied: /x"), or the door's own error for a place that stopped answering (RemoteError's
// connectionLost for a folder on another machine): that one is reported where it happened and is
// never a reason to fall back to another place.
class Door
{
public:
    // What kind of place the door opens.
    enum class Kind
    {
        localDisk,
        archive, // the inside of one archive file; read only
        foundItems, // the items a search found below one folder, as one list
        remote, // a folder on another machine
    };
    // Whether list() includes names that begin with ".".
    enum class HiddenFiles
    {
        hide,
        show,
    };
    // Whether list() puts each group in file-name order or leaves the place's own order.
    enum class ListingOrder
    {
        byName,
        asListed,
    };
    // How info() reads a path that names a symbolic link.
    enum class Link
    {
        itself,
        followed,
    };

    virtual ~Door() = default;

    // Returns what kind of place this is.
    virtual Kind kind() const = 0;
    // Returns whether `other` opens the same place: any two doors to the local disk, doors to one
    // archive file, to one server, to the same found list.
    virtual bool isSamePlace(const Door& other) const = 0;
    // Returns the text a panel shows for `folder`: "/home/me", "/data/a.zip :: /docs/",
    // "Found in /home/me".
    virtual std::string displayPath(const std::string& folder) const = 0;
    // Returns the item this place is the inside of (the archive file on its own door), or null
    // for a place of its own. The found-items list lives in the folder searched.
    virtual const DoorItem* container() const = 0;
    // Returns the path on the local disk of the item at `path` when it is one (on the local disk,
    // or found there), else nothing. Touches nothing.
    virtual std::optional<std::string> localPath(const std::string& path) const = 0;

    // Returns the rows of `folder`: "..", then folders, then files, each group in file-name order
    // (or the place's own, for ListingOrder::asListed); no ".." at the top of a place that has
    // nothing above it. With a `control`, counts the items read into its progress and throws
    // JobCancelled once it is cancelled. Throws KivError::notADirectory(folder) when `folder` is
    // not a folder (following links), else as the door does.
    virtual std::vector<FileEntry> list(const std::string& folder, HiddenFiles hiddenFiles, ListingOrder order,
        JobControl* control) const = 0;
    // Returns the facts of the item at `path`, or nothing when nothing is there (a dangling link
    // is there when `link` is itself). Throws for anything else that stops the question being
    // answered (ELOOP for links that lead round, a refused permission, a lost connection).
    virtual std::optional<ItemInfo> info(const std::string& path, Link link) const = 0;
    // Opens the file at `path` (following links) for reading from its start. Throws
    // KivError::operationFailed when it is no regular file (a pipe is never opened: it could block
    // for ever), else as the door does.
    virtual std::unique_ptr<ReadStream> read(const std::string& path) const = 0;

    // Starts writing the file `path`: the bytes go to a new file under a temporary name beside it
    // and take its name only at WriteStream::commit(); dropped before, they leave nothing behind.
    // The new file has the permission bits `permissions` from its first byte on, so what a copy
    // of a private file holds is never readable by more people while it is written; without them,
    // those of the file it replaces, or the place's own for a new file. A link at `path` is
    // written through to the file it points to with `link` followed (a save: the link stays), or
    // replaced itself with `link` itself (a copy: nothing outside the folder is touched).
    virtual std::unique_ptr<WriteStream> write(
        const std::string& path, std::optional<std::uint32_t> permissions, Link link) const
        = 0;
    // Makes the folder `path`. Throws KivError::alreadyExists when anything is there.
    virtual void makeFolder(const std::string& path) const = 0;
    // Makes a symbolic link at `path` holding `target` as it is. Throws KivError::alreadyExists
    // when anything is there.
    virtual void makeLink(const std::string& target, const std::string& path) const = 0;
    // Gives the item at `path` (a link itself) the permission bits and modification time of
    // `like`, as far as the place keeps them; what `like` does not know is left.
    virtual void keepAttributes(const std::string& path, const ItemInfo& like) const = 0;
    // Renames the item `from` to `to`, in its folder or into another on the same file system; never
    // replaces anything (KivError::alreadyExists).
    virtual void rename(const std::string& from, const std::string& to) const = 0;
    // Removes the one item at `path`: a file, a link (not what it points to) or an empty folder.
    virtual void remove(const std::string& path) const = 0;
    // Removes the item at `path` with everything in it, at any depth (links go, never what they
    // point to), as the place does it best, asking about each failure through `failures` and
    // counting each item removed as done on `control`, which is checked for cancellation between
    // items. What was skipped, and the folders holding it, stay.
    virtual void removeTree(const std::string& path, ItemFailures& failures, JobControl& control) const = 0;
    // Returns whether the item at `path` and the one at `otherPath` on `other` lie on one file
    // system, so rename() takes one to the other's folder; false when either cannot be examined.
    virtual bool sharesFileSystem(const std::string& path, const Door& other, const std::string& otherPath) const
        = 0;
};

} // namespace kiv
