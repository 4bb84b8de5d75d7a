#pragma once

#include <cstdint>
#include <fstream>
#include <string>

namespace kiv::test {

// The bytes this process has read through system calls so far (0 where the kernel keeps no count).
inline std::uint64_t bytesReadSoFar()
{
    std::ifstream counters("/proc/self/io");
    std::string name;
    std::uint64_t value = 0;
    while (counters >> name >> value) {
        if (name == "rchar:")
            return value;
    }
    return 0;
}

} // namespace kiv::test
