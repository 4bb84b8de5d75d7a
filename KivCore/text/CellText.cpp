#include "text/CellText.h"

#include "text/Utf8Text.h"

#include <algorithm>
#include <memory>
#include <numeric>
#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

namespace kiv::CellText {

namespace {

bool isPrintableAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char byte) { return byte >= 0x20 && byte <= 0x7E; });
}

Piece blanks(int count)
{
    return { Piece::Kind::text, std::string(std::size_t(std::max(count, 0)), ' '), std::max(count, 0) };
}

// The grapheme rules are loaded once per thread: making an iterator costs far more than using one.
icu::BreakIterator* characterBreaks()
{
    thread_local const std::unique_ptr<icu::BreakIterator> breaks = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> made(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    return breaks.get();
}

// Returns the piece for one user-perceived character (valid UTF-8): a placeholder when it starts
// with a character that draws nothing or moves the pen, else its text in one or two cells.
Piece characterPiece(std::string_view character)
{
    int32_t at = 0;
    UChar32 first = 0;
    U8_NEXT(character.data(), at, int32_t(character.size()), first);
    switch (u_charType(first)) {
    case U_CONTROL_CHAR:
    case U_FORMAT_CHAR:
    case U_LINE_SEPARATOR:
    case U_PARAGRAPH_SEPARATOR:
        return { Piece::Kind::placeholder, "?", 1 };
    default:
        break;
    }
    int cells = 1;
    for (int32_t next = 0; next < int32_t(character.size());) {
        UChar32 codePoint = 0;
        U8_NEXT(character.data(), next, int32_t(character.size()), codePoint);
        const int width = u_getIntPropertyValue(codePoint, UCHAR_EAST_ASIAN_WIDTH);
        if (width == U_EA_WIDE || width == U_EA_FULLWIDTH || codePoint == 0xFE0F)
            cells = 2;
    }
    return { Piece::Kind::text, std::string(character), cells };
}

// Appends `piece` to `line` (nothing for an empty one), joining runs of printable ASCII so that the common
// row is a few pieces drawn in a few calls.
void append(Line& line, Piece piece)
{
    const auto isAsciiRun
        = [](const Piece& run) { return run.kind == Piece::Kind::text && isPrintableAscii(run.text); };
    if (piece.cells == 0)
        return;
    if (!line.empty() && isAsciiRun(line.back()) && isAsciiRun(piece)) {
        line.back().text += piece.text;
        line.back().cells += piece.cells;
        return;
    }
    line.push_back(std::move(piece));
}

// Appends the characters of `text` (valid UTF-8) to `line`.
void appendCharacters(Line& line, std::string_view text)
{
    icu::BreakIterator* breaks = characterBreaks();
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UText, decltype(&utext_close)> utext(
        utext_openUTF8(nullptr, text.data(), int64_t(text.size()), &status), &utext_close);
    if (breaks && U_SUCCESS(status))
        breaks->setText(utext.get(), status);
    if (!breaks || U_FAILURE(status)) {
        // Without the grapheme rules each code point counts on its own.
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t length = Utf8Text::sequenceAt(text, at).length;
            append(line, characterPiece(text.substr(at, length)));
            at += length;
        }
        return;
    }
    int32_t start = breaks->first();
    for (int32_t end = breaks->next(); end != icu::BreakIterator::DONE; start = end, end = breaks->next())
        append(line, characterPiece(text.substr(std::size_t(start), std::size_t(end - start))));
}

// Returns every character of `bytes` as a piece, a byte that is not UTF-8 as a placeholder.
Line pieces(std::string_view bytes)
{
    Line line;
    std::size_t validStart = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        const Utf8Text::Sequence sequence = Utf8Text::sequenceAt(bytes, at);
        if (sequence.kind == Utf8Text::Sequence::Kind::valid) {
            at += sequence.length;
            continue;
        }
        appendCharacters(line, bytes.substr(validStart, at - validStart));
        for (std::size_t i = 0; i < sequence.length; ++i)
            line.push_back({ Piece::Kind::placeholder, "?", 1 });
        at += sequence.length;
        validStart = at;
    }
    appendCharacters(line, bytes.substr(validStart));
    return line;
}

// Cuts `line` to the characters that fit in width - 1 cells and puts the marker in the last one.
void cut(Line& line, int width)
{
    int used = 0;
    std::size_t kept = 0;
    while (kept < line.size() && used + line[kept].cells <= width - 1)
        used += line[kept++].cells;
    // A run of ASCII is one cell a byte, so the part of it that fits stays.
    if (kept < line.size() && line[kept].kind == Piece::Kind::text && isPrintableAscii(line[kept].text)) {
        const int part = width - 1 - used;
        line[kept].text.resize(std::size_t(part));
        line[kept].cells = part;
        used += part;
        ++kept;
    }
    line.resize(kept);
    append(line, blanks(width - 1 - used));
    line.push_back({ Piece::Kind::cut, "}", 1 });
}

} // namespace

Line fitted(std::string_view bytes, int width, Side side)
{
    if (width <= 0)
        return {};
    Line line;
    if (isPrintableAscii(bytes))
        append(line, { Piece::Kind::text, std::string(bytes), int(bytes.size()) });
    else
        line = pieces(bytes);
    const int cells = cellsOf(line);
    if (cells > width) {
        cut(line, width);
        return line;
    }
    if (side == Side::left) {
        append(line, blanks(width - cells));
        return line;
    }
    Line filled { blanks(width - cells) };
    append(filled, std::move(line));
    return filled;
}

int cellsOf(const Line& line)
{
    return std::accumulate(
        line.begin(), line.end(), 0, [](int sum, const Piece& piece) { return sum + piece.cells; });
}

void append(Line& line, Line more)
{
    for (Piece& piece : more)
        append(line, std::move(piece));
}

} // namespace kiv::CellText
