#include "files/FilePreviewReader.h"

#include "BytesRead.h"
#include "TempDir.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

using namespace kiv;
using namespace kiv::test;

using PreviewText::Preview;
using PreviewText::TextScan;

TEST(FilePreviewTest, HexDumpLinesKeepTheirColumnsAndShowOnlyPrintableAscii)
{
    using namespace std::string_literals;
    // A full run of 47 hex characters still gets its pad space; a short last line keeps the columns.
    EXPECT_EQ(PreviewText::hexDump("\x7F\x80 ~\x1F"s + std::string(14, 'a') + "\xFF"),
        "00000000  7F 80 20 7E 1F 61 61 61 61 61 61 61 61 61 61 61   .. ~.aaaaaaaaaaa\n"
        "00000010  61 61 61 FF"
            + std::string(37, ' ') + "  aaa.");
    // Past 4 GiB the offsets take as many digits as the file's last offset needs, on every line.
    EXPECT_EQ(PreviewText::offsetDigits(std::int64_t(1) << 32), 8);
    EXPECT_EQ(PreviewText::offsetDigits((std::int64_t(1) << 32) + 1), 9);
    EXPECT_EQ(PreviewText::offsetDigits(std::int64_t(1) << 40), 10);
    EXPECT_EQ(PreviewText::hexDump("ab", 0xFFFFFFF0, 9), "0FFFFFFF0  61 62" + std::string(43, ' ') + "  ab");
    EXPECT_EQ(PreviewText::hexDump("a", std::int64_t(1) << 36, 8).substr(0, 11), "1000000000 ");
}

TEST(FilePreviewTest, ScanStopsAtNulAndInvalidSequencesButWaitsOnACutSequence)
{
    using Stop = TextScan::Stop;
    // Ten plain bytes first, so that any quick path over ASCII runs before the sequence in question.
    const auto scan = [](std::string_view tail) {
        const TextScan result = PreviewText::scanText("0123456789" + std::string(tail));
        return std::pair { result.stop, result.validLength };
    };
    EXPECT_EQ(scan("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80").first, Stop::end);
    for (std::string_view cut : { "\xC3", "\xE2\x82", "\xF0\x9F\x98" })
        EXPECT_EQ(scan(cut), std::pair(Stop::incompleteTail, std::size_t { 10 })) << cut;
    // NUL, a stray continuation, overlong forms, a surrogate, past U+10FFFF, a bad second byte.
    for (std::string_view bad : { std::string_view("\0x", 2), std::string_view("\x80"),
             std::string_view("\xC0\xAF"), std::string_view("\xE0\x80\xAF"), std::string_view("\xED\xA0\x80"),
             std::string_view("\xF4\x90\x80\x80"), std::string_view("\xF5\x80\x80\x80"),
             std::string_view("\xE2\x28\xA1") })
        EXPECT_EQ(scan(bad), std::pair(Stop::notText, std::size_t { 10 })) << bad;
}

TEST(FilePreviewTest, TextFilesAreShownWholeAndAnythingElseIsDumped)
{
    TempDir scratch;
    const Preview dumped { Preview::Kind::hexDump, "" };
    EXPECT_EQ(FilePreviewReader::load(scratch.write("empty")), (Preview { Preview::Kind::text, "" }));
    EXPECT_EQ(FilePreviewReader::load(scratch.write("nul", std::string("ab\0cd", 5))), dumped);
    EXPECT_EQ(FilePreviewReader::load(scratch.write("cut-at-end", "ok \xE2\x82")).kind, Preview::Kind::hexDump);

    // Large files are judged across read blocks. Multi-byte characters at every offset around each 1 MiB
    // boundary: cut sequences must not count as invalid, and the whole text must come back.
    std::string longText;
    while (longText.size() < 3 * (1u << 20) + 64)
        longText += "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80x";
    EXPECT_EQ(
        FilePreviewReader::load(scratch.write("big-text", longText)), (Preview { Preview::Kind::text, longText }));

    // A NUL far past the first block.
    std::string lateNul(3 * (1u << 20), 'q');
    lateNul[2 * (1u << 20) + 5] = '\0';
    EXPECT_EQ(FilePreviewReader::load(scratch.write("late-nul", lateNul)), dumped);
    EXPECT_EQ(FilePreviewReader::load(scratch.write("text", "plain"), PreviewText::Form::hexDump), dumped);
}

TEST(FilePreviewTest, AHugeBinaryFileIsJudgedWithoutReadingItWhole)
{
    // A sparse terabyte costs no disk but hours to read: a viewer that reads more than its dump
    // needs is stopped by the guard as soon as it has read too much, long before any timeout.
    TempDir scratch;
    const std::string sparse = scratch.write("sparse");
    ASSERT_EQ(::truncate(sparse.c_str(), std::int64_t(1) << 40), 0) << "no sparse terabyte here";
    constexpr std::uint64_t readLimit = 8 << 20;
    const std::uint64_t before = bytesReadSoFar();
    std::atomic<bool> finished = false;
    std::thread guard([&] {
        for (; !finished; std::this_thread::sleep_for(std::chrono::milliseconds(5))) {
            if (bytesReadSoFar() - before <= readLimit)
                continue;
            std::fputs("PreviewText::load read more than 8 MiB of a sparse terabyte\n", stderr);
            std::_Exit(EXIT_FAILURE);
        }
    });
    const Preview huge = FilePreviewReader::load(sparse);
    finished = true;
    guard.join();
    EXPECT_EQ(huge.kind, Preview::Kind::hexDump);
    EXPECT_LE(bytesReadSoFar() - before, readLimit);
}

TEST(FilePreviewTest, UnreadablePathsAndPipesNeitherThrowNorHang)
{
    TempDir scratch;
    EXPECT_EQ(FilePreviewReader::load(scratch / "missing").kind, Preview::Kind::unreadable);
    const std::string fifo = scratch / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(FilePreviewReader::load(fifo), (Preview { Preview::Kind::text, "" }));

    if (!test::permissionBitsBind(scratch))
        GTEST_SKIP() << "permission bits do not bind for this user";
    const std::string locked = scratch.write("locked", "secret");
    ::chmod(locked.c_str(), 0);
    EXPECT_EQ(FilePreviewReader::load(locked).kind, Preview::Kind::unreadable);
}
