#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kiv {

class JobControl;

// What the quick view shows of one item, read within bounds whatever the item: the start of a
// file as text or as a hex dump (never more than the first screen's bytes, so a 4 GB file costs
// the same as a small one), a folder's counts and size, an archive's format, member count and
// sizes. A FIFO, socket or device is never opened. A link shows where it points, then its target.
struct QuickSummary
{
    enum class Kind
    {
        text,
        hexDump,
        folder,
        archive,
        special, // a FIFO, socket or device: only what lstat says
        unreadable, // `problem` says why
    };

    // The most bytes read from the start of a file.
    static constexpr std::size_t screenBytes = 16 * 1024;
    // The most bytes of a binary file shown as a dump.
    static constexpr std::size_t dumpBytes = 4 * 1024;

    Kind kind = Kind::unreadable;
    std::string path;
    std::string linkTarget; // what a link holds; empty for anything else
    std::int64_t size = 0; // a file's length, a folder's or archive's bytes in all
    std::string content; // text: the first screen's bytes; hexDump: the dump
    std::size_t bytesRead = 0; // how much of the file was read
    std::int64_t files = 0; // a folder's files or an archive's members that are not folders
    std::int64_t folders = 0;
    std::int64_t unreadableFolders = 0;
    std::string format; // an archive's format and compression; a special file's kind
    std::string problem;

    // Returns the summary of the item at `path`. With a `control`, counts what a folder or
    // archive holds into its progress and throws JobCancelled once it is cancelled. Never throws
    // for the item's own failures: they make an unreadable summary.
    static QuickSummary of(const std::string& path, JobControl* control);
};

} // namespace kiv
