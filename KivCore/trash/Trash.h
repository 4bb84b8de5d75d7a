#pragma once

#include "files/TrashBin.h"
#include "files/TrashedItem.h"

#include <string>

namespace kiv {

// Moves items to the user's trash and puts them back. On Linux this is the freedesktop.org trash:
// the item is renamed into the trash of its own file system, never copied, beside a .trashinfo
// file that keeps its original path byte for byte; on macOS it is renamed into ~/.Trash.
class Trash final : public TrashBin
{
public:
    // The trash whose home part is the folder `homeTrash` (see homeTrashPath()).
    explicit Trash(std::string homeTrash);

    // Returns the home trash of the user whose home folder is `home`: on Linux
    // $XDG_DATA_HOME/Trash (when that is an absolute path) or `home`/.local/share/Trash, on macOS
    // `home`/.Trash.
    static std::string homeTrashPath(const std::string& home);

    // Moves the item at the absolute `path` into the trash of its file system under a free name
    // (the info file claims it first) and returns where it went. Throws KivError::operationFailed
    // when that file system has no trash, or the platform error; the item then stays where it was.
    TrashedItem moveToTrash(const std::string& path) const override;

    // Moves `item` back to its original path and drops its info file. Throws KivError::
    // alreadyExists when that name is taken, operationFailed when the item has left the trash, or
    // the platform error; nothing changes then.
    void restore(const TrashedItem& item) const override;

private:
    std::string m_homeTrash;
};

} // namespace kiv
