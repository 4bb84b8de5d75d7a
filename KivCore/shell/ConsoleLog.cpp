#include "shell/ConsoleLog.h"

#include "text/Utf8Text.h"

#include <algorithm>
#include <utility>

namespace kiv {

namespace {

// A line longer than this is broken, as if it had a line break there: the screen wraps it
// anyway, and a line without end would otherwise escape the bounds.
constexpr std::size_t longestLineBytes = 16 << 10;

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Where the UTF-8 sequence cut short by the end of `bytes` begins, or bytes.size() when none is.
std::size_t cutSequenceStart(std::string_view bytes)
{
    std::size_t start = bytes.size();
    while (start > 0 && bytes.size() - start < 4 && isContinuationByte(bytes[start - 1]))
        --start;
    if (start == 0)
        return bytes.size();
    --start;
    return Utf8Text::sequenceAt(bytes, start).kind == Utf8Text::Sequence::Kind::cutShort ? start
                                                                                         : bytes.size();
}

// The longest start of `text` of at most `limit` bytes that ends between two characters.
std::size_t characterBoundaryWithin(std::string_view text, std::size_t limit)
{
    if (limit >= text.size())
        return text.size();
    std::size_t end = limit;
    while (end > 0 && isContinuationByte(text[end]))
        --end;
    return end > 0 ? end : limit;
}

} // namespace

ConsoleLog::ConsoleLog(std::int64_t lineLimit, std::size_t byteLimit)
    : m_lineLimit(lineLimit)
    , m_byteLimit(byteLimit)
{
}

void ConsoleLog::append(Stream stream, std::string_view bytes)
{
    const std::lock_guard lock(m_mutex);
    std::string& pending = m_pendingBytes[static_cast<int>(stream)];
    pending.append(bytes);
    const std::size_t cut = cutSequenceStart(pending);
    appendText(stream, Utf8Text::decodingLossily(pending.substr(0, cut)));
    pending.erase(0, cut);
    dropOldLines();
}

void ConsoleLog::flush()
{
    const std::lock_guard lock(m_mutex);
    for (Stream stream : { Stream::output, Stream::error }) {
        std::string& pending = m_pendingBytes[static_cast<int>(stream)];
        appendText(stream, Utf8Text::decodingLossily(std::exchange(pending, {})));
    }
    dropOldLines();
}

void ConsoleLog::appendText(Stream stream, std::string_view text)
{
    while (!text.empty()) {
        // Text joins the last piece when that one is still untaken, of the same stream and
        // open on the current line; otherwise it starts a piece of its own.
        const bool joins
            = m_untaken > 0 && m_kept.back().piece.stream == stream && m_kept.back().line == m_nextLine;
        if (!joins) {
            m_kept.push_back({ { stream, {} }, m_nextLine });
            ++m_untaken;
        }
        const std::size_t room = longestLineBytes - std::min(longestLineBytes, m_currentLineBytes);
        const std::size_t lineEnd = text.find('\n');
        std::size_t length = lineEnd == std::string_view::npos ? text.size() : lineEnd + 1;
        bool breaks = lineEnd != std::string_view::npos && length <= room;
        if (length > room) {
            length = characterBoundaryWithin(text, room);
            breaks = true;
        }
        std::string& kept = m_kept.back().piece.text;
        kept.append(text.substr(0, length));
        m_keptBytes += length;
        m_currentLineBytes += length;
        text.remove_prefix(length);
        if (breaks) {
            if (kept.empty() || kept.back() != '\n') {
                kept += '\n';
                ++m_keptBytes;
            }
            ++m_nextLine;
            m_currentLineBytes = 0;
        }
    }
}

bool ConsoleLog::overLimit() const
{
    return m_nextLine - m_firstKeptLine > m_lineLimit || m_keptBytes > m_byteLimit;
}

void ConsoleLog::dropOldLines()
{
    // Whole lines only, and never the one still being written, so the reader can drop the same
    // lines from its own start.
    while (overLimit() && !m_kept.empty() && m_kept.front().line < m_nextLine) {
        const std::int64_t line = m_kept.front().line;
        while (!m_kept.empty() && m_kept.front().line == line) {
            if (m_untaken == m_kept.size())
                --m_untaken;
            m_keptBytes -= m_kept.front().piece.text.size();
            m_kept.pop_front();
        }
        m_firstKeptLine = line + 1;
    }
}

ConsoleLog::Update ConsoleLog::take(std::size_t mostPieces)
{
    const std::lock_guard lock(m_mutex);
    Update update;
    update.droppedLines = m_firstKeptLine;
    update.linesToRemove
        = std::max<std::int64_t>(0, std::min(m_firstKeptLine, m_readerEndLine) - m_readerFirstLine);
    m_readerFirstLine = std::max(m_readerFirstLine, m_firstKeptLine);
    m_readerEndLine = std::max(m_readerEndLine, m_readerFirstLine);
    // Pieces go out oldest first; the rest wait for the next call.
    auto kept = m_kept.end() - static_cast<std::ptrdiff_t>(m_untaken);
    for (; kept != m_kept.end() && update.pieces.size() < mostPieces; ++kept, --m_untaken) {
        update.pieces.push_back(kept->piece);
        m_readerEndLine = kept->line + 1;
    }
    return update;
}

bool ConsoleLog::hasUntaken() const
{
    const std::lock_guard lock(m_mutex);
    return m_untaken > 0;
}

} // namespace kiv
