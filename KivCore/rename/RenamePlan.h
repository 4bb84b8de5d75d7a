#pragma once

#include "base/FileEntry.h"
#include "rename/RenameSetJob.h"

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace kiv {

struct RenameRule;

// Every old and new name of a multi-rename, and what stands in the way of each, worked out before
// anything is renamed: a name that is empty or cannot be one, two items given one name, a name
// taken by an item that is not renamed. Only a plan without problems may run.
class RenamePlan
{
public:
    // One item to rename, as a panel lists it.
    struct Item
    {
        std::string folder;
        std::string name;
        bool isFolder = false;
        std::optional<FileTime> modified;
    };

    enum class Problem
    {
        none,
        empty,
        invalid, // holds "/" or a NUL byte, or is "." or ".."
        tooLong, // longer than a name may be
        sameAsAnother, // another item of the set gets the same name
        taken, // an item that is not renamed has the name
        inside, // the item lies inside a folder that is renamed too
    };

    // One item's line of the plan.
    struct Line
    {
        std::string folder;
        std::string oldName;
        std::string newName;
        Problem problem = Problem::none;

        bool operator==(const Line&) const = default;
    };

    // The names in each folder, shown or hidden, as read before planning.
    using PresentNames = std::unordered_map<std::string, std::unordered_set<std::string>>;

    // The longest name, in bytes, the plan allows.
    static constexpr std::size_t longestName = 255;

    // Reads the names in the folders of `items`. Throws the platform error when a folder cannot be read.
    static PresentNames presentNames(const std::vector<Item>& items);

    // Plans renaming `items`, in their order (the counter counts in it), by `rule`, with `present`
    // the names in their folders.
    RenamePlan(const std::vector<Item>& items, const RenameRule& rule, const PresentNames& present);

    // Returns the lines, one for each item in the order given.
    const std::vector<Line>& lines() const { return m_lines; }
    // Returns how many lines have a problem.
    std::size_t problemCount() const;
    // Returns the renames of the lines whose name changes, for RenameSetJob. REQUIRES: no problem.
    std::vector<RenameSetJob::Rename> renames() const;
    // Returns what the user reads about `problem`: "two items get this name".
    static std::string problemText(Problem problem);

private:
    static Problem nameProblem(const std::string& name);
    void markClashes(const PresentNames& present);
    void markNested();

    std::vector<Line> m_lines;
};

} // namespace kiv
