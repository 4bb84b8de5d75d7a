#include "panel/RowOrder.h"

#include "text/FileNameOrder.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <span>
#include <string>
#include <string_view>

namespace kiv::RowOrder {

namespace {

using Rows = std::vector<FileEntry>;
using Key = SortOrder::Key;

// ".bashrc" has no extension: a leading dot makes a hidden name, not a suffix.
std::string_view extensionOf(const FileEntry& row)
{
    const auto dot = row.name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return {};
    return std::string_view(row.name).substr(dot + 1);
}

// Each row's place among the extensions in file-name order. Extensions that differ only in
// ASCII case share a place, so "a.txt" and "B.TXT" tie and keep their name order.
std::vector<std::int64_t> extensionRanks(std::span<const FileEntry> rows)
{
    std::vector<std::string> extensions;
    extensions.reserve(rows.size());
    for (const auto& row : rows) {
        std::string extension(extensionOf(row));
        std::transform(extension.begin(), extension.end(), extension.begin(),
            [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
        extensions.push_back(std::move(extension));
    }
    const std::vector<std::string_view> views(extensions.begin(), extensions.end());
    std::vector<std::int64_t> ranks(rows.size());
    std::int64_t rank = 0;
    std::string_view previous;
    for (auto index : FileNameOrder::sortedOrder(views)) {
        if (views[index] != previous)
            ++rank;
        previous = views[index];
        ranks[index] = rank;
    }
    return ranks;
}

std::int64_t timeKey(const FileEntry& row)
{
    if (!row.modificationDate)
        return INT64_MIN; // unknown times sort as the oldest
    return row.modificationDate->time_since_epoch().count();
}

std::vector<std::int64_t> sortKeys(std::span<const FileEntry> rows, Key key)
{
    if (key == Key::extension)
        return extensionRanks(rows);
    std::vector<std::int64_t> keys;
    keys.reserve(rows.size());
    for (const auto& row : rows)
        keys.push_back(key == Key::size ? row.size : timeKey(row));
    return keys;
}

void sortGroup(Rows::iterator first, Rows::iterator last, SortOrder order)
{
    const bool descending = order.direction == SortOrder::Direction::descending;
    if (order.key == Key::unsorted)
        return;
    if (order.key == Key::name) {
        if (descending)
            std::reverse(first, last);
        return;
    }
    const auto keys = sortKeys({ first, last }, order.key);
    std::vector<std::size_t> places(keys.size());
    std::iota(places.begin(), places.end(), std::size_t { 0 });
    std::stable_sort(places.begin(), places.end(),
        [&](std::size_t a, std::size_t b) { return descending ? keys[b] < keys[a] : keys[a] < keys[b]; });
    Rows sorted;
    sorted.reserve(places.size());
    for (auto place : places)
        sorted.push_back(std::move(first[static_cast<std::ptrdiff_t>(place)]));
    std::move(sorted.begin(), sorted.end(), first);
}

} // namespace

void sort(std::vector<FileEntry>& rows, SortOrder order)
{
    auto folders = rows.begin();
    if (folders != rows.end() && folders->kind == FileEntry::Kind::parentDirectory)
        ++folders;
    const auto files = std::find_if(
        folders, rows.end(), [](const FileEntry& row) { return row.kind != FileEntry::Kind::directory; });
    sortGroup(folders, files, order);
    sortGroup(files, rows.end(), order);
}

} // namespace kiv::RowOrder
