#pragma once

#include <string>
#include <string_view>

// What the editor finds in a file: its text in the form a text widget keeps, with what it takes to
// give back the same bytes, or why it must not offer the file for editing.
namespace kiv::EditableText {

// The file as the editor may take it.
struct Loaded
{
    enum class Kind
    {
        text, // `text` is the whole file, and savedBytes() of it gives back the same bytes
        missing, // nothing at the path: the editor starts empty and a save creates the file
        notText, // not UTF-8 text, or a NUL: an editor of text would change the bytes
        unkeptBreaks, // carriage returns alone, both kinds of line break, or paragraph separators
        unreadable // a folder, a device, or a file that could not be read
    };
    Kind kind = Kind::missing;
    // The text with every line ended by "\n" alone and without a leading byte-order mark.
    std::string text;
    bool crLf = false; // the file ends its lines with "\r\n"
    bool byteOrderMark = false; // the file starts with the UTF-8 byte-order mark

    bool operator==(const Loaded&) const = default;
};

// Reads the file at `path` (following links) whole and judges it. Never throws and never blocks on
// a FIFO.
Loaded load(const std::string& path);

// Returns the bytes to write for `text` (lines ended by "\n") in the form `loaded` found: its line
// breaks and its byte-order mark, so that savedBytes(l.text, l) is the file l was loaded from.
std::string savedBytes(std::string_view text, const Loaded& loaded);

} // namespace kiv::EditableText
