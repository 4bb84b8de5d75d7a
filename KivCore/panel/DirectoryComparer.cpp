#include "panel/DirectoryComparer.h"

#include <chrono>
#include <unordered_map>

namespace kiv::DirectoryComparer {

namespace {

using FilesByName = std::unordered_map<std::string, const FileEntry*>;

FilesByName filesByName(const std::vector<FileEntry>& listing)
{
    FilesByName files;
    for (const auto& entry : listing) {
        if (entry.kind == FileEntry::Kind::regularFile || entry.kind == FileEntry::Kind::archive)
            files.emplace(entry.name, &entry);
    }
    return files;
}

bool timesMatch(const std::optional<FileTime>& a, const std::optional<FileTime>& b)
{
    if (!a || !b)
        return !a && !b;
    auto apart = *a > *b ? *a - *b : *b - *a;
    return apart < std::chrono::seconds(2);
}

bool sameFile(const FileEntry& a, const FileEntry& b)
{
    return a.size == b.size && timesMatch(a.modificationDate, b.modificationDate);
}

} // namespace

Result compare(const std::vector<FileEntry>& left, const std::vector<FileEntry>& right)
{
    auto leftFiles = filesByName(left);
    auto rightFiles = filesByName(right);
    Result result;
    for (const auto& [name, leftEntry] : leftFiles) {
        auto match = rightFiles.find(name);
        if (match == rightFiles.end()) {
            result.leftDifferent.insert(name);
        } else if (!sameFile(*leftEntry, *match->second)) {
            result.leftDifferent.insert(name);
            result.rightDifferent.insert(name);
        }
    }
    for (const auto& [name, rightEntry] : rightFiles) {
        if (!leftFiles.contains(name))
            result.rightDifferent.insert(name);
    }
    return result;
}

} // namespace kiv::DirectoryComparer
