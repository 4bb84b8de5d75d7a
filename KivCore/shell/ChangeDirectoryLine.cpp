#include "shell/ChangeDirectoryLine.h"

#include "base/KivError.h"
#include "base/PathString.h"

#include <utility>
#include <vector>

namespace kiv::ChangeDirectoryLine {

namespace {

// One word of the line after quote removal; `tildeLeads` when it began with an unquoted "~".
struct Word
{
    std::string text;
    bool tildeLeads = false;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Characters that make the shell do more than pass a word on; such a line is left to the shell.
bool needsShell(char c)
{
    return std::string_view(";&|<>$`()*?[{}!#\n").find(c) != std::string_view::npos;
}

// Appends to `text` what the quote opened at `open` holds and returns where it closes, or nothing
// when it never closes or holds what only a shell can expand. Single quotes keep everything;
// double quotes keep all but a backslash before \ or ".
std::optional<std::size_t> quoteEnd(std::string_view line, std::size_t open, std::string& text)
{
    const char quote = line[open];
    for (std::size_t i = open + 1; i < line.size(); ++i) {
        const char c = line[i];
        if (c == quote)
            return i;
        if (quote == '"' && (c == '$' || c == '`'))
            return std::nullopt;
        if (quote == '"' && c == '\\' && i + 1 < line.size() && (line[i + 1] == '\\' || line[i + 1] == '"'))
            ++i;
        text += line[i];
    }
    return std::nullopt;
}

// Splits `line` into words as a POSIX shell would for the forms cd takes: blanks separate,
// backslash escapes one character, quotes as quoteEnd() reads them. Returns nothing when the line needs a
// real shell.
std::optional<std::vector<Word>> words(std::string_view line)
{
    std::vector<Word> result;
    std::optional<Word> word;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (isBlank(c)) {
            if (word)
                result.push_back(*std::exchange(word, std::nullopt));
            continue;
        }
        if (!word)
            word = Word { {}, c == '~' };
        if (c == '\\') {
            if (++i == line.size())
                return std::nullopt;
            word->text += line[i];
        } else if (c == '\'' || c == '"') {
            const auto end = quoteEnd(line, i, word->text);
            if (!end)
                return std::nullopt;
            i = *end;
        } else if (needsShell(c)) {
            return std::nullopt;
        } else {
            word->text += c;
        }
    }
    if (word)
        result.push_back(*word);
    return result;
}

// The folder a single name leads to from `current`.
std::optional<std::string> folderNamed(
    const Word& name, const std::string& current, const std::string& previous)
{
    if (name.text == "-" && !name.tildeLeads) {
        if (previous.empty())
            throw KivError::operationFailed("cd: no previous folder");
        return previous;
    }
    if (name.tildeLeads) {
        // "~user" names another user's home, which only the shell knows how to find.
        if (name.text.size() > 1 && name.text[1] != '/')
            return std::nullopt;
        return PathString::standardizing(name.text);
    }
    if (!name.text.empty() && name.text.front() == '/')
        return PathString::standardizing(name.text);
    return PathString::standardizing(PathString::appendingComponent(current, name.text));
}

} // namespace

std::optional<std::string> target(
    std::string_view line, const std::string& current, const std::string& previous)
{
    const auto parts = words(line);
    if (!parts || parts->empty() || parts->size() > 2 || parts->front().text != "cd")
        return std::nullopt;
    if (parts->size() == 1)
        return PathString::standardizing("~");
    return folderNamed(parts->back(), current, previous);
}

} // namespace kiv::ChangeDirectoryLine
