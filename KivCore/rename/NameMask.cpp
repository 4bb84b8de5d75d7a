#include "rename/NameMask.h"

#include "base/KivError.h"
#include "text/KivFormat.h"
#include "text/Utf8Text.h"

#include <charconv>

namespace kiv {

namespace {

constexpr int widestCounter = 18;

struct NameParts
{
    std::string_view name;
    std::optional<std::string_view> extension;
};

NameParts partsOf(const NameSource& item)
{
    const std::size_t dot = item.isFolder ? std::string_view::npos : item.name.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return { item.name, std::nullopt };
    return { item.name.substr(0, dot), item.name.substr(dot + 1) };
}

// The characters `first` to `last` (from 1; `last` 0 for the end) of `text`. A byte that is not
// part of valid UTF-8 counts as a character of its own, so any name can be cut.
std::string_view characters(std::string_view text, std::size_t first, std::size_t last)
{
    std::size_t begin = text.size();
    std::size_t at = 0;
    for (std::size_t count = 1; at < text.size(); ++count) {
        if (count == first)
            begin = at;
        if (last != 0 && count > last)
            break;
        const auto sequence = Utf8Text::sequenceAt(text, at);
        at += sequence.kind == Utf8Text::Sequence::Kind::valid ? sequence.length : 1;
    }
    return begin >= at ? std::string_view() : text.substr(begin, at - begin);
}

// Reads a whole number from the start of `text`, moving past it; nothing when none is there.
std::optional<std::size_t> number(std::string_view& text)
{
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc())
        return std::nullopt;
    text.remove_prefix(std::size_t(end - text.data()));
    return value;
}

KivError unreadable(std::string_view inside)
{
    return KivError::operationFailed("The mask has a field it cannot read: [" + std::string(inside) + "]");
}

std::string counterText(std::int64_t counter, int width)
{
    // Negated one less than itself, so that the smallest number has a magnitude too.
    const std::uint64_t magnitude = counter < 0 ? std::uint64_t(-(counter + 1)) + 1 : std::uint64_t(counter);
    std::string digits = std::to_string(magnitude);
    if (digits.size() < std::size_t(width))
        digits.insert(0, std::size_t(width) - digits.size(), '0');
    return counter < 0 ? "-" + digits : digits;
}

} // namespace

NameMask::NameMask(std::string_view mask)
{
    while (!mask.empty()) {
        const std::size_t open = mask.find('[');
        if (open != 0) {
            m_fields.push_back({ Field::Kind::text, std::string(mask.substr(0, open)) });
            mask.remove_prefix(open == std::string_view::npos ? mask.size() : open);
            continue;
        }
        // "[]]" is the one field whose inside holds a "]".
        const std::size_t close = mask.starts_with("[]]") ? 2 : mask.find(']');
        if (close == std::string_view::npos)
            throw KivError::operationFailed("The mask has a \"[\" that no \"]\" closes.");
        m_fields.push_back(field(mask.substr(1, close - 1)));
        mask.remove_prefix(close + 1);
    }
}

NameMask::Field NameMask::field(std::string_view inside)
{
    if (inside == "[" || inside == "]")
        return { Field::Kind::text, std::string(inside) };
    if (inside == "D" || inside == "T")
        return { inside == "D" ? Field::Kind::date : Field::Kind::time, {} };
    std::string_view rest = inside.substr(std::min<std::size_t>(1, inside.size()));
    if (inside.starts_with('C')) {
        if (rest.empty())
            return { Field::Kind::counter, {} };
        rest.remove_prefix(rest.starts_with(':') ? 1 : rest.size());
        const auto width = number(rest);
        if (!width || !rest.empty() || *width < 1 || *width > widestCounter)
            throw unreadable(inside);
        return { Field::Kind::counter, {}, 1, 0, int(*width) };
    }
    if (!inside.starts_with('N') && !inside.starts_with('E'))
        throw unreadable(inside);
    Field slice { inside[0] == 'N' ? Field::Kind::name : Field::Kind::extension, {} };
    if (rest.empty())
        return slice;
    const auto first = number(rest);
    slice.first = first.value_or(1);
    slice.last = rest.starts_with('-') ? 0 : slice.first;
    rest.remove_prefix(rest.starts_with('-') ? 1 : 0);
    if (const auto last = number(rest))
        slice.last = *last;
    if (!rest.empty() || slice.first < 1 || (slice.last != 0 && slice.last < slice.first))
        throw unreadable(inside);
    return slice;
}

std::string NameMask::apply(const NameSource& item, std::int64_t counter) const
{
    std::string name;
    for (std::size_t index = 0; index < m_fields.size(); ++index) {
        const Field& field = m_fields[index];
        const bool afterText = index > 0 && m_fields[index - 1].kind == Field::Kind::text;
        if (field.kind == Field::Kind::extension && afterText && !partsOf(item).extension
            && name.ends_with('.'))
            name.pop_back();
        append(name, field, item, counter);
    }
    return name;
}

void NameMask::append(std::string& name, const Field& field, const NameSource& item, std::int64_t counter)
{
    const NameParts parts = partsOf(item);
    switch (field.kind) {
    case Field::Kind::text:
        name += field.text;
        return;
    case Field::Kind::name:
        name += characters(parts.name, field.first, field.last);
        return;
    case Field::Kind::extension:
        name += characters(parts.extension.value_or(""), field.first, field.last);
        return;
    case Field::Kind::counter:
        name += counterText(counter, field.width);
        return;
    case Field::Kind::date:
        name += KivFormat::localTimeText(item.modified, "%Y-%m-%d");
        return;
    case Field::Kind::time:
        name += KivFormat::localTimeText(item.modified, "%H-%M-%S");
        return;
    }
}

} // namespace kiv
