#pragma once

#include "doors/ReadStream.h"

#include <string>
#include <vector>

namespace kiv::test {

// Everything `stream` gives, read in pieces of `piece` bytes (small ones find a stream that loses
// bytes between reads).
inline std::string drained(ReadStream& stream, std::size_t piece = 4096)
{
    std::string bytes;
    std::vector<char> buffer(piece);
    while (const std::size_t count = stream.read(buffer))
        bytes.append(buffer.data(), count);
    return bytes;
}

} // namespace kiv::test
