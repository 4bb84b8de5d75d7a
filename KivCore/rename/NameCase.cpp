#include "rename/NameCase.h"

#include "text/Utf8Text.h"

#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace kiv::NameCase {

namespace {

// Lower cases every letter, then title cases the first one.
void toFirstLetter(icu::UnicodeString& text, bool& letterSeen)
{
    text.toLower(icu::Locale::getRoot());
    for (int32_t at = 0; at < text.length() && !letterSeen; at = text.moveIndex32(at, 1)) {
        const UChar32 character = text.char32At(at);
        if (!u_isUAlphabetic(character))
            continue;
        letterSeen = true;
        const UChar32 title = u_totitle(character);
        text.replace(at, U16_LENGTH(character), icu::UnicodeString(title));
    }
}

// Appends the valid UTF-8 `run` to `out` in the case asked for.
void appendRun(std::string& out, std::string_view run, Choice choice, bool& letterSeen)
{
    auto text = icu::UnicodeString::fromUTF8(icu::StringPiece(run.data(), int32_t(run.size())));
    if (choice == Choice::lower)
        text.toLower(icu::Locale::getRoot());
    else if (choice == Choice::upper)
        text.toUpper(icu::Locale::getRoot());
    else
        toFirstLetter(text, letterSeen);
    text.toUTF8String(out);
}

} // namespace

std::string apply(std::string_view name, Choice choice)
{
    if (choice == Choice::asIs)
        return std::string(name);
    std::string out;
    bool letterSeen = false;
    std::size_t runStart = 0;
    std::size_t at = 0;
    while (at < name.size()) {
        const auto sequence = Utf8Text::sequenceAt(name, at);
        if (sequence.kind == Utf8Text::Sequence::Kind::valid) {
            at += sequence.length;
            continue;
        }
        // The valid text before changes case; the bytes that are not text are kept as they are.
        appendRun(out, name.substr(runStart, at - runStart), choice, letterSeen);
        out.append(name.substr(at, sequence.length));
        at += sequence.length;
        runStart = at;
    }
    appendRun(out, name.substr(runStart), choice, letterSeen);
    return out;
}

} // namespace kiv::NameCase
