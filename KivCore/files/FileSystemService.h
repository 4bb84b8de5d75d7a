#pragma once

#include "base/FileEntry.h"

#include <string>
#include <vector>

namespace kiv {

class JobControl;

// The core's door to the real file system for what is done at once: lists folders into panel
// rows, makes folders and renames items in their folder (copy, move and delete are jobs:
// TransferJob, DeleteJob). Stateless; instances are interchangeable.
// Failures throw KivError for the core's own refusals and std::filesystem::filesystem_error
// (system message + path) for the platform's.
class FileSystemService
{
public:
    // Whether listDirectory() includes names that begin with ".".
    enum class HiddenFiles
    {
        hide,
        show,
    };

    // Whether listDirectory() puts each group in file-name order or leaves the file system's order.
    enum class ListingOrder
    {
        byName,
        asListed,
    };

    // The rows of the folder at `path`: "..", then folders, then files, each in file-name order
    // (or as the file system lists them, for ListingOrder::asListed). With a `control`, counts
    // the items read into its progress and throws JobCancelled once it is cancelled.
    // Throws KivError::notADirectory(path) when `path` is not a folder (following links),
    // or the platform error when the folder cannot be read.
    std::vector<FileEntry> listDirectory(const std::string& path, HiddenFiles hiddenFiles,
        ListingOrder order = ListingOrder::byName, JobControl* control = nullptr) const;

    // The rows of the items at `names` (paths relative to the folder `path`): a ".." row that leads
    // to the folder, then a row named by its relative path for each item that still exists, links
    // not followed, in the order given.
    std::vector<FileEntry> listItems(const std::string& path, const std::vector<std::string>& names) const;

    // Creates the folder `name` inside `parent`. Throws alreadyExists when anything is there.
    void makeDirectory(const std::string& name, const std::string& parent) const;

    // Creates the symbolic link `link` holding `target`, as it is. Throws alreadyExists when anything
    // is at `link`.
    void makeLink(const std::string& target, const std::string& link) const;

    // Renames `from` to `newName` in the same folder; never replaces anything (alreadyExists).
    void rename(const std::string& from, const std::string& newName) const;

    // The user's home folder: $HOME, else the password database's entry.
    std::string homeDirectoryPath() const;
};

} // namespace kiv
