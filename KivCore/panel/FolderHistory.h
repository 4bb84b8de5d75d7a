#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kiv {

// The real folders one panel has stood in, oldest first, with the place it stands now, for going
// back and forward as a browser does. Holds at most `capacity` folders, dropping the oldest.
class FolderHistory
{
public:
    static constexpr std::size_t capacity = 50;

    // Records that the panel now stands in `folder`: nothing when it is the current folder,
    // otherwise the folders ahead of the current one are dropped and `folder` becomes the newest.
    void visit(const std::string& folder);

    // Makes the folder before the current one current and returns it; nothing at the oldest.
    std::optional<std::string> back();

    // Makes the folder after the current one current and returns it; nothing at the newest.
    std::optional<std::string> forward();

    // The folders, oldest first.
    const std::vector<std::string>& folders() const { return m_folders; }

    // Replaces the whole history by `folders` (oldest first, the newest current), cut to capacity.
    void restore(std::vector<std::string> folders);

private:
    std::vector<std::string> m_folders;
    std::size_t m_current = 0;
};

} // namespace kiv
