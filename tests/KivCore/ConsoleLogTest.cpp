#include "shell/ConsoleLog.h"

#include <gtest/gtest.h>

using namespace kiv;

namespace {

using Stream = ConsoleLog::Stream;
using Piece = ConsoleLog::Piece;

// The text of every piece of `update`, one after another.
std::string textOf(const ConsoleLog::Update& update)
{
    std::string text;
    for (const Piece& piece : update.pieces)
        text += piece.text;
    return text;
}

} // namespace

TEST(ConsoleLogTest, StreamsKeepTheirOrderAndCharactersCutBetweenChunksArriveWhole)
{
    ConsoleLog log;
    log.append(Stream::output, "one\ntw");
    log.append(Stream::error, "oops\n");
    log.append(Stream::output, "o\n\xC3"); // the first byte of "é"
    EXPECT_EQ(log.take(),
        (ConsoleLog::Update { 0, 0,
            { { Stream::output, "one\n" }, { Stream::output, "tw" }, { Stream::error, "oops\n" },
                { Stream::output, "o\n" } } }));
    log.append(Stream::output, "\xA9 \xFF.");
    log.append(Stream::error, "\xE2\x82"); // cut short, and the stream ends there
    log.flush();
    EXPECT_EQ(log.take(),
        (ConsoleLog::Update {
            0, 0, { { Stream::output, "é \xEF\xBF\xBD." }, { Stream::error, "\xEF\xBF\xBD" } } }));
    EXPECT_EQ(log.take(), ConsoleLog::Update {});

    // A limit hands out the oldest pieces first and keeps the rest for the next call.
    log.append(Stream::output, "x\ny\n");
    EXPECT_EQ(log.take(1).pieces, (std::vector<Piece> { { Stream::output, "x\n" } }));
    EXPECT_TRUE(log.hasUntaken());
    EXPECT_EQ(textOf(log.take()), "y\n");
    EXPECT_FALSE(log.hasUntaken());
}

TEST(ConsoleLogTest, PastTheLimitsWholeLinesGoFromTheStartAndTheReaderIsToldWhichOfItsOwn)
{
    ConsoleLog log(3, 1 << 20);
    log.append(Stream::output, "1\n2\n");
    EXPECT_EQ(textOf(log.take()), "1\n2\n");
    log.append(Stream::output, "3\n4\n5\n6");
    // The open line is kept whatever the limit says; it goes only once it has ended.
    EXPECT_EQ(log.take(),
        (ConsoleLog::Update { 2, 2,
            { { Stream::output, "3\n" }, { Stream::output, "4\n" }, { Stream::output, "5\n" },
                { Stream::output, "6" } } }));
    // Everything the reader has goes, and so does line "a", which it never saw.
    log.append(Stream::error, "!\n");
    log.append(Stream::output, "a\nb\nc\nd\n");
    EXPECT_EQ(log.take(),
        (ConsoleLog::Update {
            4, 7, { { Stream::output, "b\n" }, { Stream::output, "c\n" }, { Stream::output, "d\n" } } }));

    // The byte limit drops lines as well, and a line without end is broken before it escapes it.
    ConsoleLog bytes(1000, 40'000);
    bytes.append(Stream::error, std::string(100'000, 'x'));
    const ConsoleLog::Update flood = bytes.take();
    EXPECT_EQ(flood.droppedLines, 4);
    const std::string line = std::string(16 << 10, 'x') + "\n";
    EXPECT_EQ(textOf(flood), line + line + std::string(100'000 - 6 * (16 << 10), 'x'));
}
