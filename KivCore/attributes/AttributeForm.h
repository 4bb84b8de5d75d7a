#pragma once

#include "attributes/AttributeChange.h"
#include "files/ItemAttributes.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kiv {

// What the attributes dialog shows and edits for the marked items: each permission bit on, off or
// mixed (the items differ), the owner, group and modification time they share, and what the user
// changed. Only what the user changed goes into the change made, so items that differ keep their
// differences and the insides of folders keep every bit not touched.
class AttributeForm
{
public:
    // A bit's state among the items: set on every one, on none, or on some.
    enum class State
    {
        on,
        off,
        mixed,
    };

    // One permission bit: its mode bit and the words the dialog shows for it.
    struct Bit
    {
        std::uint32_t mask;
        const char* label;
    };
    // The bits in the dialog's order: read, write, execute for owner, group and others, then
    // set-user-ID, set-group-ID and sticky.
    static const std::array<Bit, 12> bits;

    // Shows `items` (at least one); `hasFolders` says whether a marked item is a folder, so that
    // the change may reach inside.
    AttributeForm(const std::vector<ItemAttributes>& items, bool hasFolders);

    // Returns the state the bit at `row` of `bits` shows now.
    State state(std::size_t row) const { return m_states.at(row); }
    // Turns the bit at `row` on, off, then back to mixed when the items differed in it, round.
    void flip(std::size_t row);
    // Returns whether the items may change inside marked folders.
    bool hasFolders() const { return m_hasFolders; }

    // Returns the owner shown: the one every item has (or was given), nothing when they differ.
    std::optional<uid_t> owner() const { return m_change.owner ? m_change.owner : m_sharedOwner; }
    // Returns the group shown, as owner() does.
    std::optional<gid_t> group() const { return m_change.group ? m_change.group : m_sharedGroup; }
    // Returns the modification time shown, as owner() does.
    std::optional<FileTime> modified() const { return m_change.modified ? m_change.modified : m_sharedTime; }
    // Gives every item the owner `id`; the same owner they all have already changes nothing.
    void setOwner(uid_t id);
    // Gives every item the group `id`, as setOwner() does.
    void setGroup(gid_t id);
    // Gives every item the modification time `when`, as setOwner() does.
    void setModified(FileTime when);

    // Returns how far the change reaches.
    AttributeChange::Reach reach() const { return m_change.reach; }
    // Moves to the next reach, round: the marked items, everything inside, files only, folders
    // only; only the first when no folder is marked.
    void nextReach();

    // Returns the change the user made: the bits turned on and off, and what was given.
    AttributeChange change() const;
    // Returns whether the user changed anything at all.
    bool isChanged() const;

    // Returns `text` ("2026-12-07 14:05" or with ":30" seconds), read as a local time, or nothing
    // when it is no such date.
    static std::optional<FileTime> parseTime(const std::string& text);
    // Returns `when` as parseTime() reads it, to the second.
    static std::string timeText(FileTime when);

private:
    std::array<State, 12> m_initial {};
    std::array<State, 12> m_states {};
    std::optional<uid_t> m_sharedOwner;
    std::optional<gid_t> m_sharedGroup;
    std::optional<FileTime> m_sharedTime;
    bool m_hasFolders;
    AttributeChange m_change;
};

} // namespace kiv
