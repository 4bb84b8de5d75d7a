#include "text/PreviewText.h"

#include "text/Utf8Text.h"

#include <algorithm>
#include <cstring>

namespace kiv::PreviewText {

namespace {

constexpr std::size_t bytesPerLine = 16;
constexpr char hexDigits[] = "0123456789ABCDEF";
constexpr std::size_t hexColumnWidth = 48;

// True when none of the eight bytes has its high bit set or is zero: plain ASCII text.
bool isPlainAsciiWord(const char* at)
{
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highBits = 0x8080808080808080ULL;
    const bool hasZeroByte = ((word - ones) & ~word & highBits) != 0;
    return (word & highBits) == 0 && !hasZeroByte;
}


void appendHexByte(std::string& out, unsigned char byte)
{
    out += hexDigits[byte >> 4];
    out += hexDigits[byte & 0x0F];
}

void appendDumpLine(std::string& out, std::uint64_t offset, int digits, std::string_view run)
{
    digits = std::max(digits, offsetDigits(std::int64_t(offset) + 1));
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        out += hexDigits[(offset >> shift) & 0x0F];
    out += "  ";
    const std::size_t hexStart = out.size();
    for (std::size_t i = 0; i < run.size(); ++i) {
        if (i > 0)
            out += ' ';
        appendHexByte(out, static_cast<unsigned char>(run[i]));
    }
    out.append(hexColumnWidth - (out.size() - hexStart), ' ');
    out += "  ";
    for (char byte : run)
        out += (byte >= 0x20 && byte <= 0x7E) ? byte : '.';
}

} // namespace

TextScan scanText(std::string_view bytes)
{
    const char* data = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t at = 0;
    while (at < size) {
        while (at + 8 <= size && isPlainAsciiWord(data + at))
            at += 8;
        if (at >= size)
            break;
        const auto lead = static_cast<unsigned char>(data[at]);
        if (lead < 0x80) {
            if (lead == 0)
                return { TextScan::Stop::notText, at };
            ++at;
            continue;
        }
        const auto sequence = Utf8Text::sequenceAt(bytes, at);
        if (sequence.kind == Utf8Text::Sequence::Kind::cutShort)
            return { TextScan::Stop::incompleteTail, at };
        if (sequence.kind == Utf8Text::Sequence::Kind::invalid)
            return { TextScan::Stop::notText, at };
        at += sequence.length;
    }
    return { TextScan::Stop::end, size };
}

std::string hexDump(std::string_view bytes, std::int64_t firstOffset, int offsetDigits)
{
    std::string out;
    const std::size_t lineCount = (bytes.size() + bytesPerLine - 1) / bytesPerLine;
    out.reserve(lineCount * (std::size_t(offsetDigits) + 2 + hexColumnWidth + 2 + bytesPerLine + 1));
    for (std::size_t at = 0; at < bytes.size(); at += bytesPerLine) {
        if (at > 0)
            out += '\n';
        appendDumpLine(out, std::uint64_t(firstOffset) + at, offsetDigits, bytes.substr(at, bytesPerLine));
    }
    return out;
}

int offsetDigits(std::int64_t size)
{
    int digits = 8;
    for (auto last = std::uint64_t(std::max<std::int64_t>(size - 1, 0)) >> 32; last != 0; last >>= 4)
        ++digits;
    return digits;
}

} // namespace kiv::PreviewText
