#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// What the viewer shows of a file, as text or as a hex dump, and how its bytes are judged; the
// file itself is read by FilePreviewReader.
namespace kiv::PreviewText {

// What a viewer shows of one file.
struct Preview
{
    enum class Kind
    {
        text, // valid UTF-8 without NUL: `content` is the whole file
        hexDump, // anything else, shown as its dump page by page (HexPager): `content` is empty
        unreadable // the file could not be opened or read: `content` is empty
    };
    Kind kind = Kind::unreadable;
    std::string content;

    bool operator==(const Preview&) const = default;
};

// How load() shows a file: as it judges the bytes, or as the user asked.
enum class Form
{
    judged,
    text, // the whole file as text, whatever its bytes
    hexDump,
};

// Returns the dump of `bytes`, which stand at `firstOffset` in their file: per 16 bytes one line of
// the offset in upper-case hex with leading zeros to `offsetDigits` digits (more when it needs
// more), two spaces, the bytes as "%02X" joined by single spaces and padded to 48 columns, two
// spaces, and the bytes 0x20..0x7E as themselves, others as "."; lines joined by "\n", none after
// the last.
std::string hexDump(std::string_view bytes, std::int64_t firstOffset = 0, int offsetDigits = 8);

// Returns how many hex digits the offsets of a file of `size` bytes take: 8, or more past 4 GiB,
// so that every line of one file's dump keeps the same columns.
int offsetDigits(std::int64_t size);

// Where a scan of bytes for text stopped.
struct TextScan
{
    enum class Stop
    {
        end, // every byte belongs to complete, valid UTF-8 without NUL
        incompleteTail, // `validLength` is where a sequence starts that the bytes end too early for
        notText // `validLength` is where a NUL or an invalid sequence starts
    };
    Stop stop = Stop::end;
    std::size_t validLength = 0;
};

// Scans `bytes` as UTF-8 (no overlong forms, surrogates or code points past U+10FFFF) and
// reports the first place where it stops being text; a sequence cut short by the end of
// `bytes` is an incomplete tail, not an error, so blocks of a file can be scanned one by one.
TextScan scanText(std::string_view bytes);

} // namespace kiv::PreviewText
