#include "text/WordWrap.h"

#include <utility>

namespace kiv::WordWrap {

namespace {

bool startsCharacter(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

int charactersIn(std::string_view text)
{
    int count = 0;
    for (char byte : text)
        count += startsCharacter(byte) ? 1 : 0;
    return count;
}

// The length in bytes of the first `characters` characters of `text`.
std::size_t bytesOfFirst(std::string_view text, int characters)
{
    std::size_t at = 0;
    for (int counted = 0; at < text.size(); ++at) {
        if (startsCharacter(text[at]) && counted++ == characters)
            break;
    }
    return at;
}

} // namespace

std::vector<std::string> lines(std::string_view text, int width)
{
    std::vector<std::string> result;
    std::string line;
    int lineWidth = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t blank = text.find(' ', start);
        std::string_view word = text.substr(start, blank == std::string_view::npos ? blank : blank - start);
        start = blank == std::string_view::npos ? text.size() : blank + 1;
        for (int wordWidth = charactersIn(word); !word.empty();) {
            const int needed = lineWidth == 0 ? wordWidth : lineWidth + 1 + wordWidth;
            if (needed <= width) {
                if (lineWidth > 0)
                    line.push_back(' ');
                line.append(word);
                lineWidth = needed;
                break;
            }
            if (lineWidth > 0) { // the word starts the next line
                result.push_back(std::exchange(line, {}));
                lineWidth = 0;
                continue;
            }
            const std::size_t cut = bytesOfFirst(word, width); // longer than a whole line
            result.emplace_back(word.substr(0, cut));
            word.remove_prefix(cut);
            wordWidth -= width;
        }
    }
    if (!line.empty() || result.empty())
        result.push_back(line);
    return result;
}

} // namespace kiv::WordWrap
