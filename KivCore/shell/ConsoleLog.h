#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// The output of one running command as the console keeps it: both streams in the order they
// arrived, as UTF-8 text, bounded by a number of lines and of bytes past which the oldest lines
// go. One thread appends while another takes what is new; every member is safe from any thread.
class ConsoleLog
{
public:
    enum class Stream
    {
        output,
        error,
    };

    // A run of text from one stream holding at most one line break, at its end.
    struct Piece
    {
        Stream stream;
        std::string text;

        bool operator==(const Piece&) const = default;
    };

    // What changed since the last take().
    struct Update
    {
        // Lines the reader was given earlier and must now remove from its start.
        std::int64_t linesToRemove = 0;
        // Lines dropped from the start since the command began, given to the reader or not.
        std::int64_t droppedLines = 0;
        // What arrived since and is still kept, to be added after what the reader has.
        std::vector<Piece> pieces;

        bool operator==(const Update&) const = default;
    };

    static constexpr std::int64_t defaultLineLimit = 100'000;
    static constexpr std::size_t defaultByteLimit = 16 << 20;

    // Keeps at most `lineLimit` lines and about `byteLimit` bytes (a single line longer than
    // that is kept whole until the next one begins).
    explicit ConsoleLog(std::int64_t lineLimit = defaultLineLimit, std::size_t byteLimit = defaultByteLimit);

    // Adds `bytes` written to `stream`. A UTF-8 sequence cut by the end of `bytes` waits for the
    // rest; invalid bytes become U+FFFD.
    void append(Stream stream, std::string_view bytes);
    // Adds what still waits for the rest of a UTF-8 sequence, as U+FFFD; call when the streams end.
    void flush();
    // Returns what changed since the previous call and forgets having to tell it, except the
    // pieces past the first `mostPieces`, which wait for the next call.
    Update take(std::size_t mostPieces = SIZE_MAX);
    // Returns whether pieces wait to be taken.
    bool hasUntaken() const;

private:
    struct Kept
    {
        Piece piece;
        std::int64_t line; // the number of the line it belongs to, counted from the command's start
    };

    void appendText(Stream stream, std::string_view text);
    void dropOldLines();
    bool overLimit() const;

    const std::int64_t m_lineLimit;
    const std::size_t m_byteLimit;
    mutable std::mutex m_mutex;
    std::deque<Kept> m_kept;
    std::size_t m_keptBytes = 0;
    std::int64_t m_nextLine = 0; // the line the next text goes on
    std::int64_t m_firstKeptLine = 0; // lines before it were dropped
    std::size_t m_untaken = 0; // pieces at the end of m_kept not yet taken
    std::int64_t m_readerFirstLine = 0; // the first line the reader still has
    std::int64_t m_readerEndLine = 0; // one past the last line the reader has text of
    std::size_t m_currentLineBytes = 0; // text on the line the next text goes on
    std::string m_pendingBytes[2]; // per stream: the start of a cut UTF-8 sequence
};

} // namespace kiv
