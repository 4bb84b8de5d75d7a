#pragma once

#include "base/UniqueFd.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace kiv {

// The folders from a starting folder down to the one being worked in, for walking a tree of any
// depth: each level is opened by name from the one above (never following a link), and only the
// few deepest levels keep a descriptor open. A level whose descriptor was closed is opened again
// from the nearest open one above it when it is needed, so a deep tree never runs out of
// descriptors and never needs a path longer than the system allows.
class DirectoryChain
{
public:
    // Starts at the folder `rootPath` (a link to a folder is followed there); opens it when first used.
    explicit DirectoryChain(std::string rootPath);
    DirectoryChain(const DirectoryChain&) = delete;
    DirectoryChain& operator=(const DirectoryChain&) = delete;

    // Returns the descriptor of the current folder, opening it again if needed; throws the
    // platform error with the folder's path when it cannot.
    int fd();
    // Returns the current folder's path.
    const std::string& path() const { return m_path; }
    // Returns the path of `name` inside the current folder.
    std::string pathOf(std::string_view name) const;
    // Opens the folder `name` inside the current one and makes it current; throws the platform
    // error (ELOOP or ENOTDIR for a link) when it cannot.
    void enter(const std::string& name);
    // Makes the folder above the current one current again.
    void leave();
    // An item of the current folder: its name and its kind as the folder tells it (a DT_* value,
    // DT_UNKNOWN where the file system gives none).
    struct Child
    {
        std::string name;
        unsigned char type;
    };
    // Returns the items in the current folder, read whole so no descriptor stays open for them;
    // throws the platform error when the folder cannot be read.
    std::vector<Child> children();

private:
    struct Level
    {
        std::string name;
        UniqueFd fd;
        std::size_t pathLength;
        dev_t device = 0; // which folder it is, to know it again when opened anew
        ino_t inode = 0;
    };

    void reopen(std::size_t level);
    void open(std::size_t level, int fd);
    void closeSurplus();

    std::vector<Level> m_levels;
    std::string m_path;
};

// Enters a folder of a chain for the length of a scope, leaving it again however the scope ends.
class ChainLevel
{
public:
    ChainLevel(DirectoryChain& chain, const std::string& name)
        : m_chain(chain)
    {
        m_chain.enter(name);
    }
    ChainLevel(const ChainLevel&) = delete;
    ChainLevel& operator=(const ChainLevel&) = delete;
    ~ChainLevel() { m_chain.leave(); }

private:
    DirectoryChain& m_chain;
};

} // namespace kiv
