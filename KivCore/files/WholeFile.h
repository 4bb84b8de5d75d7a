#pragma once

#include <string>

// Reading a whole file into memory, telling "nothing there" apart from "cannot be read".
namespace kiv::WholeFile {

// What a read found at the path.
enum class ReadOutcome
{
    read, // the whole file is in the contents
    missing, // nothing at all at the path (not even a dangling link)
    unreadable, // something is there that is not a regular file or could not be read
};

// Appends the bytes of the regular file at `path` (following links) to `contents` and says how
// it went; after `unreadable` the contents may hold a part of the file. Never blocks on a FIFO.
ReadOutcome read(const std::string& path, std::string& contents);

} // namespace kiv::WholeFile
