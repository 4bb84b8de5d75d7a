#pragma once

#include "files/FileEntry.h"

#include <string>
#include <vector>

namespace kiv {

// The core's door to the real file system: lists folders into panel rows and carries out
// make-folder, rename, move, copy and delete. Stateless; instances are interchangeable.
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

    // What copy() does when the target name is taken.
    enum class Existing
    {
        refuse,
        replace,
    };

    // The rows of the folder at `path`: "..", then folders, then files, each in file-name order
    // (or as the file system lists them, for ListingOrder::asListed).
    // Throws KivError::notADirectory(path) when `path` is not a folder (following links),
    // or the platform error when the folder cannot be read.
    std::vector<FileEntry> listDirectory(
        const std::string& path, HiddenFiles hiddenFiles, ListingOrder order = ListingOrder::byName) const;

    // Creates the folder `name` inside `parent`. Throws alreadyExists when anything is there.
    void makeDirectory(const std::string& name, const std::string& parent) const;

    // Renames `from` to `newName` in the same folder; never replaces anything (alreadyExists).
    void rename(const std::string& from, const std::string& newName) const;

    // Moves `from` into `toDirectory` under its own name; never replaces anything. Across file
    // systems it copies first and removes the source only after the whole copy succeeded.
    void move(const std::string& from, const std::string& toDirectory) const;

    // Moves `from` into `toDirectory` as `newName` in one step, so a taken name leaves the item
    // where it was; never replaces anything. Otherwise as move().
    void move(const std::string& from, const std::string& toDirectory, const std::string& newName) const;

    // Copies `from` (a file, link or whole folder) into `toDirectory`, keeping times and
    // permission bits and copying links as links. An existing target throws alreadyExists, or is
    // replaced when `existing` says so (never when it is the source).
    void copy(
        const std::string& from, const std::string& toDirectory, Existing existing = Existing::refuse) const;

    // Removes the item; a folder with all its contents, a link without what it points to.
    void deleteItem(const std::string& path) const;

    // The user's home folder: $HOME, else the password database's entry.
    std::string homeDirectoryPath() const;
};

} // namespace kiv
