#include "rename/RenamePlan.h"

#include "base/KivError.h"
#include "base/PathString.h"
#include "files/DirectoryReader.h"
#include "rename/RenameRule.h"

#include <algorithm>
#include <fcntl.h>
#include <map>
#include <set>
#include <utility>

namespace kiv {

namespace {

using Key = std::pair<std::string, std::string>; // folder and name

} // namespace

RenamePlan::PresentNames RenamePlan::presentNames(const std::vector<Item>& items)
{
    PresentNames present;
    for (const Item& item : items) {
        if (present.contains(item.folder))
            continue;
        auto& names = present[item.folder];
        DirectoryReader reader(
            AT_FDCWD, item.folder.c_str(), item.folder, DirectoryReader::FinalLink::follow);
        for (DirectoryReader::Item entry; reader.next(entry);)
            names.emplace(entry.name);
    }
    return present;
}

RenamePlan::RenamePlan(const std::vector<Item>& items, const RenameRule& rule, const PresentNames& present)
{
    m_lines.reserve(items.size());
    for (std::size_t index = 0; index < items.size(); ++index) {
        const Item& item = items[index];
        Line line { item.folder, item.name, {}, Problem::none };
        try {
            line.newName = rule.newName({ item.name, item.isFolder, item.modified }, index);
            line.problem = nameProblem(line.newName);
        } catch (const KivError&) {
            line.problem = Problem::tooLong; // too long even to search
        }
        m_lines.push_back(std::move(line));
    }
    markClashes(present);
    markNested();
}

RenamePlan::Problem RenamePlan::nameProblem(const std::string& name)
{
    if (name.empty())
        return Problem::empty;
    if (name == "." || name == ".." || name.find_first_of(std::string_view("/\0", 2)) != std::string::npos)
        return Problem::invalid;
    return name.size() > longestName ? Problem::tooLong : Problem::none;
}

// A name is free for an item when no other item gets it and whatever has it now is an item that
// leaves it.
void RenamePlan::markClashes(const PresentNames& present)
{
    std::map<Key, int> newNames;
    std::set<Key> oldNames;
    for (const Line& line : m_lines) {
        newNames[{ line.folder, line.newName }] += 1;
        oldNames.insert({ line.folder, line.oldName });
    }
    for (Line& line : m_lines) {
        if (line.problem != Problem::none || line.newName == line.oldName)
            continue;
        const Key key { line.folder, line.newName };
        const auto folder = present.find(line.folder);
        const bool there = folder != present.end() && folder->second.contains(line.newName);
        if (newNames[key] > 1)
            line.problem = Problem::sameAsAnother;
        else if (there && !oldNames.contains(key))
            line.problem = Problem::taken;
    }
}

void RenamePlan::markNested()
{
    std::unordered_set<std::string> renamed;
    for (const Line& line : m_lines) {
        if (line.newName != line.oldName)
            renamed.insert(PathString::appendingComponent(line.folder, line.oldName));
    }
    for (Line& line : m_lines) {
        for (std::string folder = line.folder; line.problem == Problem::none && folder != "/";
             folder = PathString::parentOrRoot(folder)) {
            if (renamed.contains(folder))
                line.problem = Problem::inside;
        }
    }
}

std::size_t RenamePlan::problemCount() const
{
    return std::size_t(std::count_if(
        m_lines.begin(), m_lines.end(), [](const Line& line) { return line.problem != Problem::none; }));
}

std::vector<RenameSetJob::Rename> RenamePlan::renames() const
{
    std::vector<RenameSetJob::Rename> renames;
    for (const Line& line : m_lines) {
        if (line.newName != line.oldName)
            renames.push_back({ PathString::appendingComponent(line.folder, line.oldName),
                PathString::appendingComponent(line.folder, line.newName) });
    }
    return renames;
}

std::string RenamePlan::problemText(Problem problem)
{
    switch (problem) {
    case Problem::none:
        return "";
    case Problem::empty:
        return "the new name is empty";
    case Problem::invalid:
        return "a name cannot hold \"/\" or a NUL byte, nor be \".\" or \"..\"";
    case Problem::tooLong:
        return "the new name is longer than " + std::to_string(longestName) + " bytes";
    case Problem::sameAsAnother:
        return "another item gets the same name";
    case Problem::taken:
        return "an item that is not renamed has this name";
    case Problem::inside:
        return "it is inside a folder that is renamed too";
    }
    return "";
}

} // namespace kiv
