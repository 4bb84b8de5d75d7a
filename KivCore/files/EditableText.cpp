#include "files/EditableText.h"

#include "files/WholeFile.h"
#include "text/PreviewText.h"

#include <algorithm>

namespace kiv::EditableText {

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
// A text widget turns it into a line break of its own.
constexpr std::string_view paragraphSeparator = "\xE2\x80\xA9";

std::string replaced(std::string_view text, std::string_view from, std::string_view to)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0;;) {
        const std::size_t found = text.find(from, at);
        out.append(text.substr(at, found - at));
        if (found == std::string_view::npos)
            return out;
        out.append(to);
        at = found + from.size();
    }
}

// Only text whose breaks are all "\n" or all "\r\n" comes back as it was from a text widget.
bool breaksKept(std::string_view text)
{
    const auto lineFeeds = std::count(text.begin(), text.end(), '\n');
    const auto returns = std::count(text.begin(), text.end(), '\r');
    std::ptrdiff_t pairs = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string_view::npos; at = text.find("\r\n", at + 2))
        ++pairs;
    return returns == pairs && (pairs == 0 || pairs == lineFeeds)
        && text.find(paragraphSeparator) == std::string_view::npos;
}

} // namespace

Loaded load(const std::string& path)
{
    std::string bytes;
    switch (WholeFile::read(path, bytes)) {
    case WholeFile::ReadOutcome::missing:
        return { Loaded::Kind::missing, {} };
    case WholeFile::ReadOutcome::unreadable:
        return { Loaded::Kind::unreadable, {} };
    case WholeFile::ReadOutcome::read:
        break;
    }
    // A NUL would not survive the text widget, so it is not text here either.
    if (PreviewText::scanText(bytes).stop != PreviewText::TextScan::Stop::end)
        return { Loaded::Kind::notText, {} };
    if (!breaksKept(bytes))
        return { Loaded::Kind::unkeptBreaks, {} };
    Loaded loaded { Loaded::Kind::text, {}, bytes.find('\r') != std::string::npos,
        std::string_view(bytes).starts_with(byteOrderMark) };
    std::string_view text(bytes);
    if (loaded.byteOrderMark)
        text.remove_prefix(byteOrderMark.size());
    loaded.text = loaded.crLf ? replaced(text, "\r\n", "\n") : std::string(text);
    return loaded;
}

std::string savedBytes(std::string_view text, const Loaded& loaded)
{
    return (loaded.byteOrderMark ? std::string(byteOrderMark) : std::string())
        + (loaded.crLf ? replaced(text, "\n", "\r\n") : std::string(text));
}

} // namespace kiv::EditableText
