#pragma once

#include "base/UniqueFd.h"
#include "doors/Door.h"
#include "doors/WriteStream.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kiv {

// A new file of the local disk written under a hidden temporary name in the folder of its target
// and renamed to the target's name at commit(). Replacing a file keeps that file's owner (where
// allowed) and permission bits, writes through a link to the file it points to, and flushes the
// bytes to disk before the rename, so a crash leaves the old file or the new one.
class LocalWriteStream : public WriteStream
{
public:
    // Creates the temporary file for the file at `path` with the bits `permissions`; without
    // them, with those of the file it replaces, or 0666 less the umask for a new file. A link at
    // `path` is written through with `link` followed, replaced itself with `link` itself (see
    // Door::write). Throws the platform error naming `path`.
    LocalWriteStream(std::string path, std::optional<std::uint32_t> permissions, Door::Link link);
    ~LocalWriteStream() override;

    void write(std::string_view bytes) override;
    // With Replace::file, a file this process may not write is refused, as a plain write would be.
    // A file with other hard links is the exception to renaming: renaming would part it from
    // them, so its bytes are written over the file itself; should that fail part way, throws
    // KivError::operationFailed naming the temporary file, which is kept.
    void commit(Replace replace) override;

private:
    void overwriteInPlace();

    std::string m_path; // as asked for, for errors
    std::string m_target; // the file it becomes: `m_path`, or the file a link there points to
    std::string m_temporary; // "" once it is no longer ours to remove
    UniqueFd m_fd;
};

} // namespace kiv
