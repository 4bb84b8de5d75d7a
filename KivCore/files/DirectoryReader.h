#pragma once

#include <dirent.h>
#include <string>

namespace kiv {

// Reads the names in one open folder, without "." and "..". Owns the folder's descriptor.
class DirectoryReader
{
public:
    struct Item
    {
        const char* name; // valid until the next call of next()
        unsigned char type; // DT_* from the folder, DT_UNKNOWN where the file system gives none
    };

    enum class FinalLink
    {
        follow, // listing what the user asked to see
        refuse, // walking a tree to copy or delete it: a link is never entered
    };

    // Opens the folder `name` relative to `parentFd` (AT_FDCWD for plain paths).
    // Throws the platform error with `pathForErrors`.
    DirectoryReader(int parentFd, const char* name, const std::string& pathForErrors, FinalLink finalLink);
    DirectoryReader(const DirectoryReader&) = delete;
    DirectoryReader& operator=(const DirectoryReader&) = delete;
    ~DirectoryReader();

    // The folder's descriptor, for the *at() calls on its children.
    int fd() const;

    // Fills `item` with the next child and returns true, or returns false at the end.
    // Throws the platform error when reading fails.
    bool next(Item& item);

private:
    DIR* m_dir = nullptr;
    std::string m_path;
};

} // namespace kiv
