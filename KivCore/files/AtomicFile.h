#pragma once

#include <string>
#include <string_view>

// Whole-file writes that a crash or a full disk can never leave half done.
namespace kiv::AtomicFile {

// Replaces the file at `path` with `contents`: the bytes go to a new temporary file in the same
// folder with the old file's owner (where allowed) and permission bits (a new file gets 0666 less
// the umask), are flushed to disk and are then renamed over `path`. A file this process may not
// write is refused, as a plain write would be. A symbolic link at `path` is followed, so the file it
// points to is replaced and the link stays. Throws std::filesystem::filesystem_error naming
// `path`; on failure the old file is untouched and no temporary file is left behind.
// A file with other hard links is the exception: renaming would part it from them, so once the
// temporary file holds the new bytes they are written over the file itself. Should that fail part
// way, it throws KivError::operationFailed naming the temporary file, which is kept.
void write(const std::string& path, std::string_view contents);

} // namespace kiv::AtomicFile
