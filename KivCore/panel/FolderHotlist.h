#pragma once

#include <string>
#include <vector>

namespace kiv {

// The folders the user keeps at hand, in the order they were added, each once.
class FolderHotlist
{
public:
    // Adds `folder` at the end; returns false, changing nothing, when it is already there.
    bool add(const std::string& folder);

    // Removes `folder`; returns false when it was not there.
    bool remove(const std::string& folder);

    // True when `folder` is in the list.
    bool contains(const std::string& folder) const;

    // The folders in the order they were added.
    const std::vector<std::string>& folders() const { return m_folders; }

    // Replaces the list by `folders`, dropping repeats.
    void restore(const std::vector<std::string>& folders);

private:
    std::vector<std::string> m_folders;
};

} // namespace kiv
