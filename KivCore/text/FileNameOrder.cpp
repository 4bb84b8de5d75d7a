#include "text/FileNameOrder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <numeric>
#include <optional>
#include <string>

#include <unicode/ucol.h>
#include <unicode/ustring.h>

namespace kiv::FileNameOrder {

namespace {

// The collator's rank of each ASCII character.
using AsciiRanks = std::array<std::uint8_t, 128>;

struct CollatorCloser
{
    void operator()(UCollator* collator) const { ucol_close(collator); }
};
using Collator = std::unique_ptr<UCollator, CollatorCloser>;

// The locale that orders text for the user, as POSIX chooses it: LC_ALL, else LC_COLLATE, else
// LANG, the first that is set and not empty, as ICU names it ("de_DE.UTF-8@euro" is "de_DE");
// "C", "POSIX" and nothing at all give ICU's root order.
std::string collationLocale()
{
    for (const char* variable : { "LC_ALL", "LC_COLLATE", "LANG" }) {
        const char* value = std::getenv(variable);
        if (!value || !*value)
            continue;
        std::string name(value, std::strcspn(value, ".@"));
        return name == "C" || name == "POSIX" ? "root" : name;
    }
    return "root";
}

// Numeric ordering on, case ignored (secondary strength keeps accents apart). A locale ICU does
// not know gives its root order.
Collator fileNameCollator(const std::string& locale)
{
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open(locale.c_str(), &status);
    if (U_FAILURE(status))
        collator = ucol_open("root", &(status = U_ZERO_ERROR));
    ucol_setAttribute(collator, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
    ucol_setStrength(collator, UCOL_SECONDARY);
    return Collator(collator);
}

// Names are bytes; invalid UTF-8 becomes U+FFFD for collation only (the byte tie-break
// still tells such names apart). `text` is reused from call to call.
void toUtf16(std::string_view name, std::u16string& text)
{
    text.resize(name.size() + 1);
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(text.data(), static_cast<int32_t>(text.size()), &length, name.data(),
        static_cast<int32_t>(name.size()), 0xFFFD, nullptr, &status);
    text.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
}

int32_t writeSortKey(const UCollator* collator, const std::u16string& text, std::string& arena,
    std::size_t start, int32_t capacity)
{
    return ucol_getSortKey(collator, reinterpret_cast<const UChar*>(text.data()),
        static_cast<int32_t>(text.size()), reinterpret_cast<uint8_t*>(arena.data() + start), capacity);
}

void appendCollatorKey(
    const UCollator* collator, std::string_view name, std::string& arena, std::u16string& text)
{
    toUtf16(name, text);
    const auto start = arena.size();
    arena.resize(start + text.size() * 4 + 16);
    auto capacity = static_cast<int32_t>(arena.size() - start);
    auto length = writeSortKey(collator, text, arena, start, capacity);
    if (length > capacity) {
        arena.resize(start + static_cast<std::size_t>(length));
        writeSortKey(collator, text, arena, start, length);
    }
    arena.resize(start + static_cast<std::size_t>(length));
}

// The collator's order of the single ASCII characters, learnt from the collator itself:
// rank 0 for characters it ignores, equal ranks for characters it holds equal (a and A).
// With an untailored collator an ASCII name's order is then the order of its ranks, digit
// runs compared by value, which is some fifty times cheaper than a full collation key.
// Tailored locales (contractions such as "ch") always take the collator's own keys.
std::optional<AsciiRanks> asciiRanks(const UCollator* collator)
{
    int32_t rulesLength = 0;
    ucol_getRules(collator, &rulesLength);
    if (rulesLength != 0)
        return std::nullopt;
    std::array<char16_t, 128> characters;
    std::iota(characters.begin(), characters.end(), char16_t { 0 });
    auto collate = [&](char16_t a, char16_t b) { return ucol_strcoll(collator, &a, 1, &b, 1); };
    std::stable_sort(characters.begin(), characters.end(),
        [&](char16_t a, char16_t b) { return collate(a, b) == UCOL_LESS; });
    AsciiRanks ranks {};
    std::uint8_t rank = 0;
    const char16_t nothing = 0;
    for (std::size_t i = 0; i < characters.size(); ++i) {
        char16_t c = characters[i];
        bool ignorable = ucol_strcoll(collator, &c, 1, &nothing, 0) == UCOL_EQUAL;
        if (!ignorable && (i == 0 || rank == 0 || collate(characters[i - 1], c) != UCOL_EQUAL))
            ++rank;
        ranks[c] = ignorable ? 0 : rank;
    }
    return ranks;
}

// One locale's collator with the ASCII ranks learnt from it.
struct Collation
{
    Collator collator;
    std::optional<AsciiRanks> ranks;
};

// The collation of the locale the environment names now. Each is made once and kept for the rest of
// the run, so a reference stays valid when the environment changes.
const Collation& currentCollation()
{
    static std::mutex mutex;
    static std::map<std::string, std::unique_ptr<const Collation>> made;
    const std::lock_guard lock(mutex);
    const std::string locale = collationLocale();
    auto& collation = made[locale];
    if (!collation) {
        Collator collator = fileNameCollator(locale);
        auto ranks = asciiRanks(collator.get());
        collation = std::make_unique<const Collation>(Collation { std::move(collator), ranks });
    }
    return *collation;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A digit run sorts as one number: the rank of "0", the count of its significant digits,
// then those digits, so that 9 < 10 < 0100.
void appendAsciiKey(std::string_view name, std::string& arena, const AsciiRanks& ranks)
{
    for (std::size_t i = 0; i < name.size();) {
        if (!isDigit(name[i])) {
            if (auto rank = ranks[static_cast<unsigned char>(name[i])])
                arena += static_cast<char>(rank);
            ++i;
            continue;
        }
        auto end = i;
        while (end < name.size() && isDigit(name[end]))
            ++end;
        auto first = i;
        while (first < end && name[first] == '0')
            ++first;
        arena += static_cast<char>(ranks['0']);
        arena += static_cast<char>(std::min<std::size_t>(end - first, 255));
        arena.append(name.substr(first, end - first));
        i = end;
    }
}

bool isAscii(std::string_view name)
{
    return std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool allAscii(std::span<const std::string_view> names)
{
    return std::all_of(names.begin(), names.end(), isAscii);
}

// Eight bytes of `key` from `offset` on, zero-padded, as an integer that orders like the bytes.
std::uint64_t bigEndianPrefix(std::string_view key, std::size_t offset)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        auto byte = offset + i < key.size() ? static_cast<unsigned char>(key[offset + i]) : 0;
        value = (value << 8) | byte;
    }
    return value;
}

} // namespace

std::vector<std::size_t> sortedOrder(std::span<const std::string_view> names)
{
    // All keys live in one buffer: no allocation per name.
    std::string arena;
    arena.reserve(names.size() * 24);
    std::vector<std::pair<std::size_t, std::size_t>> keySpans(names.size());
    const Collation& collation = currentCollation();
    const auto& ranks = collation.ranks;
    bool cheapKeys = ranks && allAscii(names);
    std::u16string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto start = arena.size();
        if (cheapKeys)
            appendAsciiKey(names[i], arena, *ranks);
        else
            appendCollatorKey(collation.collator.get(), names[i], arena, text);
        keySpans[i] = { start, arena.size() - start };
    }
    // Most keys are decided by their first 16 bytes, held as two integers that compare in
    // one step each; only ties look at the rest of the key and then at the bytes.
    struct SortItem
    {
        std::uint64_t head[2];
        std::size_t index;
    };
    auto view = [&](std::size_t i) {
        return std::string_view(arena).substr(keySpans[i].first, keySpans[i].second);
    };
    std::vector<SortItem> items(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        items[i] = { { bigEndianPrefix(view(i), 0), bigEndianPrefix(view(i), 8) }, i };
    std::sort(items.begin(), items.end(), [&](const SortItem& a, const SortItem& b) {
        if (a.head[0] != b.head[0])
            return a.head[0] < b.head[0];
        if (a.head[1] != b.head[1])
            return a.head[1] < b.head[1];
        if (auto byKey = view(a.index).compare(view(b.index)); byKey != 0)
            return byKey < 0;
        return names[a.index] < names[b.index];
    });
    std::vector<std::size_t> order(names.size());
    std::transform(
        items.begin(), items.end(), order.begin(), [](const SortItem& item) { return item.index; });
    return order;
}

void sort(std::vector<FileEntry>& entries)
{
    std::vector<std::string_view> names;
    names.reserve(entries.size());
    for (const auto& entry : entries)
        names.push_back(entry.name);
    std::vector<FileEntry> sorted;
    sorted.reserve(entries.size());
    for (auto index : sortedOrder(names))
        sorted.push_back(std::move(entries[index]));
    entries = std::move(sorted);
}

bool less(std::string_view a, std::string_view b)
{
    std::u16string textA, textB;
    toUtf16(a, textA);
    toUtf16(b, textB);
    auto result = ucol_strcoll(currentCollation().collator.get(),
        reinterpret_cast<const UChar*>(textA.data()), static_cast<int32_t>(textA.size()),
        reinterpret_cast<const UChar*>(textB.data()), static_cast<int32_t>(textB.size()));
    if (result != UCOL_EQUAL)
        return result == UCOL_LESS;
    return a < b;
}

} // namespace kiv::FileNameOrder
