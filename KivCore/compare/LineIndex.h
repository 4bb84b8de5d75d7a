#pragma once

#include "base/UniqueFd.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kiv {

class JobControl;

// Where each line of a file starts and a hash of what it holds, read once in blocks so a file of
// any size costs 16 bytes a line; the lines themselves are read again from the file when shown.
// A line ends at "\n" (not part of it); a last line without one hashes apart from the same text
// with it, so the two files are told apart.
class LineIndex
{
public:
    // Reads the regular file at `path` (never a FIFO or device: refused with KivError), counting
    // its bytes into `control`'s progress (may be null), which is checked for cancellation.
    // Throws the platform error when the file cannot be read, JobCancelled once cancelled.
    static LineIndex read(const std::string& path, JobControl* control);

    // Returns the number of lines.
    std::size_t lineCount() const { return m_hashes.size(); }
    // Returns the hash of every line, in order.
    const std::vector<std::uint64_t>& hashes() const { return m_hashes; }
    // Returns line `index` as the file holds it now, without its "\n" and cut after `longest`
    // bytes; what can no longer be read there is left out.
    std::string text(std::size_t index, std::size_t longest) const;
    // Returns the file's path.
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    UniqueFd m_fd; // kept open for the lines shown later
    bool m_endsWithNewline = true;
    std::vector<std::uint64_t> m_starts; // each line's first byte, then the end of the file
    std::vector<std::uint64_t> m_hashes;
};

} // namespace kiv
