#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace kiv {

// The bytes of one file, read from its start by one thread, as Door::read() opens it. Closes
// the file when it goes.
class ReadStream
{
public:
    virtual ~ReadStream() = default;

    // Returns the file's size as it was when opened (what a progress display counts toward).
    virtual std::int64_t size() const = 0;
    // Reads the next bytes into `buffer`, at most its size, and returns how many; 0 at the end.
    // Throws as the door it came from does.
    virtual std::size_t read(std::span<char> buffer) = 0;
};

} // namespace kiv
