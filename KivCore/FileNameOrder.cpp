#include "FileNameOrder.h"

#include <algorithm>
#include <memory>
#include <numeric>
#include <string>

#include <unicode/ucol.h>
#include <unicode/ustring.h>

namespace kiv::FileNameOrder {

namespace {

struct CollatorCloser
{
    void operator()(UCollator* collator) const { ucol_close(collator); }
};

// Numeric ordering on, case ignored (secondary strength keeps accents apart).
UCollator* fileNameCollator()
{
    static const std::unique_ptr<UCollator, CollatorCloser> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* c = ucol_open("", &status);
        if (U_FAILURE(status)) c = ucol_open("root", &(status = U_ZERO_ERROR));
        ucol_setAttribute(c, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
        ucol_setStrength(c, UCOL_SECONDARY);
        return std::unique_ptr<UCollator, CollatorCloser>(c);
    }();
    return collator.get();
}

// Names are bytes; invalid UTF-8 becomes U+FFFD for collation only (the byte tie-break
// still tells such names apart).
std::u16string toUtf16(std::string_view name)
{
    std::u16string text(name.size(), u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(text.data(), static_cast<int32_t>(text.size()), &length, name.data(),
        static_cast<int32_t>(name.size()), 0xFFFD, nullptr, &status);
    text.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
    return text;
}

// Appends the sort key of `name` to `arena`; returns its length.
std::size_t appendSortKey(std::string_view name, std::string& arena)
{
    auto text = toUtf16(name);
    auto* collator = fileNameCollator();
    const auto start = arena.size();
    arena.resize(start + text.size() * 4 + 16);
    auto capacity = static_cast<int32_t>(arena.size() - start);
    auto length = ucol_getSortKey(collator, reinterpret_cast<const UChar*>(text.data()),
        static_cast<int32_t>(text.size()), reinterpret_cast<uint8_t*>(arena.data() + start), capacity);
    if (length > capacity) {
        arena.resize(start + static_cast<std::size_t>(length));
        ucol_getSortKey(collator, reinterpret_cast<const UChar*>(text.data()),
            static_cast<int32_t>(text.size()), reinterpret_cast<uint8_t*>(arena.data() + start), length);
    }
    arena.resize(start + static_cast<std::size_t>(length));
    return static_cast<std::size_t>(length);
}

} // namespace

void sort(std::vector<FileEntry>& entries)
{
    if (entries.size() < 2) return;
    // All keys live in one buffer: one allocation pattern for the whole listing.
    std::string arena;
    arena.reserve(entries.size() * 24);
    std::vector<std::pair<std::size_t, std::size_t>> keySpans(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        auto start = arena.size();
        keySpans[i] = { start, appendSortKey(entries[i].name, arena) };
    }
    auto keyOf = [&](std::size_t i) {
        return std::string_view(arena).substr(keySpans[i].first, keySpans[i].second);
    };

    std::vector<std::size_t> order(entries.size());
    std::iota(order.begin(), order.end(), std::size_t { 0 });
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (auto byKey = keyOf(a).compare(keyOf(b)); byKey != 0) return byKey < 0;
        return entries[a].name < entries[b].name;
    });

    std::vector<FileEntry> sorted;
    sorted.reserve(entries.size());
    for (auto index : order)
        sorted.push_back(std::move(entries[index]));
    entries = std::move(sorted);
}

bool less(std::string_view a, std::string_view b)
{
    auto textA = toUtf16(a);
    auto textB = toUtf16(b);
    auto result = ucol_strcoll(fileNameCollator(), reinterpret_cast<const UChar*>(textA.data()),
        static_cast<int32_t>(textA.size()), reinterpret_cast<const UChar*>(textB.data()),
        static_cast<int32_t>(textB.size()));
    if (result != UCOL_EQUAL) return result == UCOL_LESS;
    return a < b;
}

} // namespace kiv::FileNameOrder
