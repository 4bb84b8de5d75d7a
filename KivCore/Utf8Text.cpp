#include "Utf8Text.h"

#include <memory>
#include <unicode/brkiter.h>
#include <unicode/utext.h>

namespace kiv::Utf8Text {

namespace {

struct SequenceShape
{
    std::size_t length;
    char32_t leadBits;
    char32_t smallest; // anything below is an overlong form
};

bool shapeForLead(unsigned char lead, SequenceShape& shape)
{
    if ((lead & 0xE0) == 0xC0)
        shape = { 2, lead & 0x1Fu, 0x80 };
    else if ((lead & 0xF0) == 0xE0)
        shape = { 3, lead & 0x0Fu, 0x800 };
    else if ((lead & 0xF8) == 0xF0)
        shape = { 4, lead & 0x07u, 0x10000 };
    else
        return false;
    return true;
}

bool isValidSequence(std::string_view bytes, std::size_t start, const SequenceShape& shape)
{
    if (bytes.size() - start < shape.length) return false;
    char32_t codePoint = shape.leadBits;
    for (std::size_t offset = 1; offset < shape.length; ++offset) {
        auto byte = static_cast<unsigned char>(bytes[start + offset]);
        if ((byte & 0xC0) != 0x80) return false;
        codePoint = (codePoint << 6) | (byte & 0x3Fu);
    }
    bool isSurrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint >= shape.smallest && codePoint <= 0x10FFFF && !isSurrogate;
}

// The length of the first code point, at least 1 byte, for text whose grapheme rules fail.
std::size_t firstCodePointLength(std::string_view text)
{
    SequenceShape shape;
    if (shapeForLead(static_cast<unsigned char>(text[0]), shape) && isValidSequence(text, 0, shape))
        return shape.length;
    return 1;
}

} // namespace

bool isValid(std::string_view bytes)
{
    std::size_t index = 0;
    while (index < bytes.size()) {
        auto lead = static_cast<unsigned char>(bytes[index]);
        if (lead < 0x80) {
            ++index;
            continue;
        }
        SequenceShape shape;
        if (!shapeForLead(lead, shape) || !isValidSequence(bytes, index, shape)) return false;
        index += shape.length;
    }
    return true;
}

std::string firstCharacter(std::string_view text)
{
    if (text.empty()) return {};
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UText, decltype(&utext_close)> utext(
        utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status), &utext_close);
    std::unique_ptr<icu::BreakIterator> characters(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_SUCCESS(status)) characters->setText(utext.get(), status);
    int32_t end = U_SUCCESS(status) ? characters->following(0) : icu::BreakIterator::DONE;
    if (end <= 0 || static_cast<std::size_t>(end) > text.size())
        end = static_cast<int32_t>(firstCodePointLength(text));
    return std::string(text.substr(0, static_cast<std::size_t>(end)));
}

} // namespace kiv::Utf8Text
