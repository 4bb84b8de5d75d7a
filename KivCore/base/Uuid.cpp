#include "base/Uuid.h"

#include <array>
#include <cstdint>
#include <random>

namespace kiv::Uuid {

std::string randomString()
{
    std::random_device source;
    std::array<std::uint8_t, 16> bytes;
    for (std::size_t index = 0; index < bytes.size(); index += 4) {
        auto word = static_cast<std::uint32_t>(source());
        for (std::size_t shift = 0; shift < 4; ++shift)
            bytes[index + shift] = static_cast<std::uint8_t>(word >> (8 * shift));
    }
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40); // version 4
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant

    static constexpr char hexDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(36);
    for (std::size_t index = 0; index < bytes.size(); ++index) {
        if (index == 4 || index == 6 || index == 8 || index == 10)
            text += '-';
        text += hexDigits[bytes[index] >> 4];
        text += hexDigits[bytes[index] & 0x0F];
    }
    return text;
}

} // namespace kiv::Uuid
