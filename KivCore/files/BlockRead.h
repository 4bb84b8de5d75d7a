#pragma once

#include <cstddef>
#include <string>

// Reading a file a block at a time.
namespace kiv::BlockRead {

// Reads from `fd` until `size` bytes are in `buffer` or the file ends, going on after a signal;
// returns how many came, fewer than `size` only at the end. Throws the platform error with `path`.
std::size_t fill(int fd, char* buffer, std::size_t size, const std::string& path);

} // namespace kiv::BlockRead
