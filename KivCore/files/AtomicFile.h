#pragma once

#include <string>
#include <string_view>

// Whole-file writes that a crash or a full disk can never leave half done.
namespace kiv::AtomicFile {

// Replaces the file at `path` with `contents`: the bytes go to a new temporary file in the same
// folder, are flushed to disk, get the old file's owner (where allowed) and permission bits (a new
// file gets 0666 less the umask) and are then renamed over `path`. A file this process may not
// write is refused, as a plain write would be. A symbolic link at `path` is followed, so the file it
// points to is replaced and the link stays. Throws std::filesystem::filesystem_error naming
// `path`; on failure the old file is untouched and no temporary file is left behind.
void write(const std::string& path, std::string_view contents);

} // namespace kiv::AtomicFile
