#include "text/Utf8Text.h"

#include <memory>
#include <string_view>
#include <unicode/brkiter.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

namespace kiv::Utf8Text {

namespace {

constexpr std::string_view replacementCharacter = "\xEF\xBF\xBD";

bool inRange(unsigned char byte, unsigned char low, unsigned char high)
{
    return byte >= low && byte <= high;
}

std::size_t firstInvalidOffset(std::string_view text)
{
    std::size_t offset = 0;
    while (offset < text.size()) {
        if (static_cast<unsigned char>(text[offset]) < 0x80) {
            ++offset;
            continue;
        }
        auto sequence = sequenceAt(text, offset);
        if (sequence.kind != Sequence::Kind::valid)
            return offset;
        offset += sequence.length;
    }
    return std::string_view::npos;
}

// The stand-ins are U+F780..U+F7FF: EF 9E 80..EF 9F BF in UTF-8.
bool encodesStandIn(std::string_view text, std::size_t at, std::size_t length)
{
    return length == 3 && static_cast<unsigned char>(text[at]) == 0xEF
        && inRange(static_cast<unsigned char>(text[at + 1]), 0x9E, 0x9F);
}

void appendStandIn(std::string& out, unsigned char byte)
{
    const char32_t standIn = firstStandIn - 0x80 + byte;
    out += static_cast<char>(0xE0 | (standIn >> 12));
    out += static_cast<char>(0x80 | ((standIn >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (standIn & 0x3F));
}

} // namespace

// The allowed range of the second byte depends on the lead byte (no overlongs, no
// surrogates, nothing above U+10FFFF); later continuation bytes are always 80..BF.
Sequence sequenceAt(std::string_view text, std::size_t start)
{
    auto lead = static_cast<unsigned char>(text[start]);
    if (lead < 0x80)
        return { Sequence::Kind::valid, 1 };
    std::size_t continuations = 0;
    unsigned char secondLow = 0x80, secondHigh = 0xBF;
    if (inRange(lead, 0xC2, 0xDF)) {
        continuations = 1;
    } else if (inRange(lead, 0xE0, 0xEF)) {
        continuations = 2;
        if (lead == 0xE0)
            secondLow = 0xA0;
        if (lead == 0xED)
            secondHigh = 0x9F;
    } else if (inRange(lead, 0xF0, 0xF4)) {
        continuations = 3;
        if (lead == 0xF0)
            secondLow = 0x90;
        if (lead == 0xF4)
            secondHigh = 0x8F;
    } else {
        return { Sequence::Kind::invalid, 1 };
    }
    for (std::size_t i = 1; i <= continuations; ++i) {
        if (start + i >= text.size())
            return { Sequence::Kind::cutShort, i };
        auto byte = static_cast<unsigned char>(text[start + i]);
        bool fits = i == 1 ? inRange(byte, secondLow, secondHigh) : inRange(byte, 0x80, 0xBF);
        if (!fits)
            return { Sequence::Kind::invalid, i };
    }
    return { Sequence::Kind::valid, continuations + 1 };
}

std::string decodingLossily(std::string bytes)
{
    std::string_view text(bytes);
    auto offset = firstInvalidOffset(text);
    if (offset == std::string_view::npos)
        return bytes;
    std::string repaired(text.substr(0, offset));
    repaired.reserve(bytes.size() + 16);
    while (offset < text.size()) {
        auto sequence = sequenceAt(text, offset);
        if (sequence.kind == Sequence::Kind::valid)
            repaired.append(text.substr(offset, sequence.length));
        else
            repaired.append(replacementCharacter);
        offset += sequence.length;
    }
    return repaired;
}

std::string reversibleText(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size());
    std::size_t at = 0;
    while (at < bytes.size()) {
        const auto sequence = sequenceAt(bytes, at);
        if (sequence.kind == Sequence::Kind::valid && !encodesStandIn(bytes, at, sequence.length))
            text.append(bytes.substr(at, sequence.length));
        else
            for (std::size_t i = 0; i < sequence.length; ++i)
                appendStandIn(text, static_cast<unsigned char>(bytes[at + i]));
        at += sequence.length;
    }
    return text;
}

std::string reversibleBytes(std::string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (at + 2 < text.size() && encodesStandIn(text, at, 3)
            && inRange(static_cast<unsigned char>(text[at + 2]), 0x80, 0xBF)) {
            const auto second = static_cast<unsigned char>(text[at + 1]);
            const auto third = static_cast<unsigned char>(text[at + 2]);
            bytes += static_cast<char>((second & 0x03) << 6 | (third & 0x3F));
            at += 2;
        } else {
            bytes += text[at];
        }
    }
    return bytes;
}

bool isValid(std::string_view bytes)
{
    return firstInvalidOffset(bytes) == std::string_view::npos;
}

std::u32string codePoints(std::string_view bytes)
{
    std::u32string points;
    points.reserve(bytes.size());
    const auto length = static_cast<int32_t>(bytes.size());
    for (int32_t at = 0; at < length;) {
        const auto sequence = sequenceAt(bytes, std::size_t(at));
        if (sequence.kind != Sequence::Kind::valid) {
            points.push_back(firstStrayByte + static_cast<unsigned char>(bytes[std::size_t(at++)]));
            continue;
        }
        UChar32 point = 0;
        U8_NEXT_UNSAFE(bytes.data(), at, point);
        points.push_back(static_cast<char32_t>(point));
    }
    return points;
}

std::string bytesOf(std::u32string_view points)
{
    std::string bytes;
    bytes.reserve(points.size());
    for (const char32_t point : points) {
        if (point >= firstStrayByte) {
            bytes += static_cast<char>(point - firstStrayByte);
            continue;
        }
        char encoded[U8_MAX_LENGTH];
        int32_t length = 0;
        U8_APPEND_UNSAFE(encoded, length, static_cast<UChar32>(point));
        bytes.append(encoded, std::size_t(length));
    }
    return bytes;
}

std::string firstCharacter(std::string_view text)
{
    if (text.empty())
        return {};
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UText, decltype(&utext_close)> utext(
        utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status), &utext_close);
    std::unique_ptr<icu::BreakIterator> characters(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_SUCCESS(status))
        characters->setText(utext.get(), status);
    int32_t end = U_SUCCESS(status) ? characters->following(0) : icu::BreakIterator::DONE;
    // Without the grapheme rules, one code point (or one ill-formed part) is the next best thing.
    if (end <= 0 || static_cast<std::size_t>(end) > text.size())
        end = static_cast<int32_t>(sequenceAt(text, 0).length);
    return std::string(text.substr(0, static_cast<std::size_t>(end)));
}

} // namespace kiv::Utf8Text
