#include "archives/ArchiveListingParser.h"

#include <array>
#include <charconv>
#include <optional>

namespace kiv {

namespace {

constexpr std::size_t maxLeadingFields = 8;

// The first fields of one line (only spaces separate them), and after each field the rest of
// the line behind the run of spaces that follows it: the member name is such a rest, so runs
// of spaces inside a name survive.
struct LeadingFields
{
    std::array<std::string_view, maxLeadingFields> field;
    std::array<std::string_view, maxLeadingFields> restAfter;
    std::size_t count = 0;
};

LeadingFields splitLeadingFields(std::string_view line, std::size_t wanted)
{
    LeadingFields fields;
    auto position = line.find_first_not_of(' ');
    while (position != std::string_view::npos && fields.count < wanted) {
        auto end = std::min(line.find(' ', position), line.size());
        fields.field[fields.count] = line.substr(position, end - position);
        position = line.find_first_not_of(' ', end);
        if (position != std::string_view::npos)
            fields.restAfter[fields.count] = line.substr(position);
        ++fields.count;
    }
    return fields;
}

// A signed decimal: an optional "+" or "-", then digits and nothing else.
std::optional<std::int64_t> parseNumber(std::string_view field)
{
    if (!field.empty() && field.front() == '+') {
        field.remove_prefix(1);
        if (field.empty() || field.front() == '-')
            return std::nullopt;
    }
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc {} || end != field.data() + field.size())
        return std::nullopt;
    return value;
}

std::string_view cutAt(std::string_view name, std::string_view marker)
{
    return name.substr(0, name.find(marker));
}

// Both tar layouts print a link's target after its name: "name -> target" for a symbolic link
// (mode "l..."), "name link to target" for a hard link (mode "h..."). Any other member keeps its
// whole name, even one that holds " -> ".
std::string_view withoutLinkTarget(std::string_view mode, std::string_view name)
{
    if (mode.starts_with('l'))
        return cutAt(name, " -> ");
    if (mode.starts_with('h'))
        return cutAt(name, " link to ");
    return name;
}

int octalDigit(char c)
{
    return c >= '0' && c <= '7' ? c - '0' : -1;
}

char escapedControl(char c)
{
    switch (c) {
    case 'a':
        return '\a';
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case 'v':
        return '\v';
    case '\\':
        return '\\';
    default:
        return 0;
    }
}

// Both layouts' tools (GNU tar and bsdtar) print "\\" for a backslash, "\n" style escapes for
// controls and "\ooo" for bytes they deem unprintable; undoing them gives back the name stored in
// the archive, which is what extraction has to be asked for.
std::string undoEscapes(std::string_view text)
{
    std::string name;
    name.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            name += text[i];
        } else if (auto control = escapedControl(text[i + 1])) {
            name += control;
            ++i;
        } else if (i + 3 < text.size() && octalDigit(text[i + 1]) >= 0 && octalDigit(text[i + 2]) >= 0
            && octalDigit(text[i + 3]) >= 0) {
            name += static_cast<char>(
                octalDigit(text[i + 1]) * 64 + octalDigit(text[i + 2]) * 8 + octalDigit(text[i + 3]));
            i += 3;
        } else {
            name += text[i];
        }
    }
    return name;
}

std::string joined(std::string_view a, std::string_view b)
{
    return std::string(a).append(" ").append(b);
}

std::optional<ArchiveRawEntry> zipEntry(std::string_view line)
{
    auto fields = splitLeadingFields(line, 3);
    if (fields.count < 3 || fields.restAfter[2].empty())
        return std::nullopt;
    auto size = parseNumber(fields.field[0]);
    if (!size)
        return std::nullopt;
    return ArchiveRawEntry { std::string(fields.restAfter[2]), *size, std::string(fields.field[1]) };
}

// mode, links, owner, group, size, month, day, time-or-year, name
std::optional<ArchiveRawEntry> nineFieldTarEntry(const LeadingFields& fields)
{
    if (fields.count < 8 || fields.restAfter[7].empty())
        return std::nullopt;
    auto size = parseNumber(fields.field[4]);
    if (!size)
        return std::nullopt;
    return ArchiveRawEntry { undoEscapes(withoutLinkTarget(fields.field[0], fields.restAfter[7])), *size,
        joined(joined(fields.field[5], fields.field[6]), fields.field[7]) };
}

// GNU tar: mode, owner/group, size, date, time, name.
std::optional<ArchiveRawEntry> gnuTarEntry(const LeadingFields& fields)
{
    if (fields.count < 5 || fields.restAfter[4].empty()
        || fields.field[1].find('/') == std::string_view::npos)
        return std::nullopt;
    auto size = parseNumber(fields.field[2]);
    if (!size)
        return std::nullopt;
    return ArchiveRawEntry { undoEscapes(withoutLinkTarget(fields.field[0], fields.restAfter[4])), *size,
        joined(fields.field[3], fields.field[4]) };
}

std::optional<ArchiveRawEntry> tarEntry(std::string_view line)
{
    auto fields = splitLeadingFields(line, maxLeadingFields);
    if (auto entry = nineFieldTarEntry(fields))
        return entry;
    return gnuTarEntry(fields);
}

} // namespace

ArchiveListingParser::ArchiveListingParser(Layout layout)
    : m_layout(layout)
{
}

void ArchiveListingParser::append(std::string_view bytes)
{
    auto end = bytes.find('\n');
    if (end == std::string_view::npos) {
        m_pendingLine.append(bytes);
        return;
    }
    m_pendingLine.append(bytes.substr(0, end));
    parseLine(m_pendingLine);
    m_pendingLine.clear();
    // Whole lines are parsed where they lie; only a line split between pieces is copied.
    for (auto start = end + 1; start < bytes.size(); start = end + 1) {
        end = bytes.find('\n', start);
        if (end == std::string_view::npos) {
            m_pendingLine.assign(bytes.substr(start));
            return;
        }
        parseLine(bytes.substr(start, end - start));
    }
}

std::vector<ArchiveRawEntry> ArchiveListingParser::finish()
{
    parseLine(m_pendingLine);
    m_pendingLine.clear();
    return std::move(m_entries);
}

std::vector<ArchiveRawEntry> ArchiveListingParser::parseZipListing(std::string_view listing)
{
    ArchiveListingParser parser(Layout::zip);
    parser.append(listing);
    return parser.finish();
}

std::vector<ArchiveRawEntry> ArchiveListingParser::parseTarListing(std::string_view listing)
{
    ArchiveListingParser parser(Layout::tar);
    parser.append(listing);
    return parser.finish();
}

void ArchiveListingParser::parseLine(std::string_view line)
{
    if (line.empty())
        return;
    if (auto entry = m_layout == Layout::zip ? zipEntry(line) : tarEntry(line))
        m_entries.push_back(std::move(*entry));
}

} // namespace kiv
