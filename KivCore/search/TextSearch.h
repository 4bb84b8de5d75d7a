#pragma once

#include "text/NamePatterns.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace kiv {

class ReadStream;

// Looks for one text in files, reading each in large blocks; a text that straddles two blocks is
// found as well. Letters are compared with their case or without it (ASCII letters: other bytes
// match only themselves). Holds its block buffer, so one search serves one thread.
class TextSearch
{
public:
    // Whether the text must stand as a word of its own: neither byte beside it a letter, digit,
    // "_" or part of a multi-byte character.
    enum class Words
    {
        anywhere,
        whole,
    };

    // Whether a file with a NUL byte in its first block is searched.
    enum class Binaries
    {
        skipped,
        searched,
    };

    // The size of one read.
    static constexpr std::size_t blockBytes = std::size_t(1) << 20;

    // Searches for `text`. REQUIRES: `text` is not empty.
    TextSearch(std::string text, NamePatterns::LetterCase letterCase, Words words, Binaries binaries);

    // Returns whether the regular file `name` in the folder `folderFd` holds the text; never for a
    // skipped binary file. Throws the platform error with `pathForErrors` when it cannot be read.
    bool foundIn(int folderFd, const char* name, const std::string& pathForErrors);
    // Returns whether the file `stream` reads holds the text; never for a skipped binary file.
    // Throws as the stream does.
    bool foundIn(ReadStream& stream);

private:
    // Reads the next bytes of the file into the span given, returning how many; 0 at its end.
    using Reader = std::function<std::size_t(std::span<char>)>;

    bool foundInBlocks(const Reader& read);
    bool foundInBuffer(std::size_t length, bool startsFile, bool atEnd) const;
    bool standsAlone(std::size_t at, std::size_t length) const;

    std::string m_text;
    NamePatterns::LetterCase m_letterCase;
    Words m_words;
    Binaries m_binaries;
    std::vector<char> m_buffer;
};

} // namespace kiv
