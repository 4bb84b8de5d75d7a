#pragma once

#include "base/UniqueFd.h"
#include "doors/ReadStream.h"

#include <string>

namespace kiv {

// A regular file of the local disk read from its start, as the local disk's door opens it.
class LocalReadStream : public ReadStream
{
public:
    // Opens the file at `path`, following links, without ever waiting on a pipe or device: those,
    // and folders, are refused with KivError::operationFailed. Throws the platform error naming
    // `path` when it cannot be opened.
    explicit LocalReadStream(std::string path);

    std::int64_t size() const override { return m_size; }
    std::size_t read(std::span<char> buffer) override;

private:
    std::string m_path;
    UniqueFd m_fd;
    std::int64_t m_size = 0;
};

} // namespace kiv
