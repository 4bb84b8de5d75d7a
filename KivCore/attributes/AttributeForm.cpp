#include "attributes/AttributeForm.h"

#include "text/KivFormat.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace kiv {

namespace {

// The value every item has for `field`, or nothing when two differ.
template <typename Value, typename Read>
std::optional<Value> shared(const std::vector<ItemAttributes>& items, Read read)
{
    const Value first = read(items.front());
    const bool same = std::all_of(
        items.begin(), items.end(), [&](const ItemAttributes& item) { return read(item) == first; });
    return same ? std::optional<Value>(first) : std::nullopt;
}

FileTime modifiedTime(const ItemAttributes& item)
{
    return FileTime(std::chrono::seconds(item.modifiedSeconds)
        + std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::nanoseconds(item.modifiedNanoseconds)));
}

} // namespace

const std::array<AttributeForm::Bit, 12> AttributeForm::bits { {
    { 0400, "Owner: read" },
    { 0200, "Owner: write" },
    { 0100, "Owner: execute / enter" },
    { 0040, "Group: read" },
    { 0020, "Group: write" },
    { 0010, "Group: execute / enter" },
    { 0004, "Others: read" },
    { 0002, "Others: write" },
    { 0001, "Others: execute / enter" },
    { 04000, "Set user ID" },
    { 02000, "Set group ID" },
    { 01000, "Sticky" },
} };

AttributeForm::AttributeForm(const std::vector<ItemAttributes>& items, bool hasFolders)
    : m_hasFolders(hasFolders)
{
    for (std::size_t row = 0; row < bits.size(); ++row) {
        const auto setCount = std::count_if(items.begin(), items.end(),
            [&](const ItemAttributes& item) { return (item.permissions & bits[row].mask) != 0; });
        m_initial[row] = setCount == 0 ? State::off
            : std::size_t(setCount) == items.size() ? State::on
                                                     : State::mixed;
    }
    m_states = m_initial;
    m_sharedOwner = shared<uid_t>(items, [](const ItemAttributes& item) { return item.owner; });
    m_sharedGroup = shared<gid_t>(items, [](const ItemAttributes& item) { return item.group; });
    m_sharedTime = shared<FileTime>(items, modifiedTime);
}

void AttributeForm::flip(std::size_t row)
{
    State& state = m_states.at(row);
    if (state == State::on)
        state = State::off;
    else if (state == State::off && m_initial[row] == State::mixed)
        state = State::mixed;
    else
        state = State::on;
}

void AttributeForm::setOwner(uid_t id)
{
    m_change.owner = m_sharedOwner == id ? std::nullopt : std::optional<uid_t>(id);
}

void AttributeForm::setGroup(gid_t id)
{
    m_change.group = m_sharedGroup == id ? std::nullopt : std::optional<gid_t>(id);
}

void AttributeForm::setModified(FileTime when)
{
    m_change.modified = m_sharedTime == when ? std::nullopt : std::optional<FileTime>(when);
}

void AttributeForm::nextReach()
{
    using Reach = AttributeChange::Reach;
    if (!m_hasFolders)
        return;
    switch (m_change.reach) {
    case Reach::markedItems:
        m_change.reach = Reach::everything;
        break;
    case Reach::everything:
        m_change.reach = Reach::filesOnly;
        break;
    case Reach::filesOnly:
        m_change.reach = Reach::foldersOnly;
        break;
    case Reach::foldersOnly:
        m_change.reach = Reach::markedItems;
        break;
    }
}

AttributeChange AttributeForm::change() const
{
    AttributeChange change = m_change;
    for (std::size_t row = 0; row < bits.size(); ++row) {
        if (m_states[row] == m_initial[row])
            continue;
        if (m_states[row] == State::on)
            change.turnOn |= bits[row].mask;
        else if (m_states[row] == State::off)
            change.turnOff |= bits[row].mask;
    }
    return change;
}

bool AttributeForm::isChanged() const
{
    const AttributeChange made = change();
    return made.turnOn != 0 || made.turnOff != 0 || made.owner || made.group || made.modified;
}

std::optional<FileTime> AttributeForm::parseTime(const std::string& text)
{
    std::tm asked {};
    int used = -1;
    // With seconds, or without them; either must take the whole text.
    if (std::sscanf(text.c_str(), " %d-%d-%d %d:%d:%d %n", &asked.tm_year, &asked.tm_mon, &asked.tm_mday,
            &asked.tm_hour, &asked.tm_min, &asked.tm_sec, &used)
            != 6
        || std::size_t(used) != text.size()) {
        asked.tm_sec = 0;
        used = -1;
        if (std::sscanf(text.c_str(), " %d-%d-%d %d:%d %n", &asked.tm_year, &asked.tm_mon, &asked.tm_mday,
                &asked.tm_hour, &asked.tm_min, &used)
                != 5
            || std::size_t(used) != text.size())
            return std::nullopt;
    }
    if (asked.tm_mon < 1 || asked.tm_mon > 12 || asked.tm_mday < 1 || asked.tm_hour < 0 || asked.tm_hour > 23
        || asked.tm_min < 0 || asked.tm_min > 59 || asked.tm_sec < 0 || asked.tm_sec > 59)
        return std::nullopt;
    std::tm local = asked;
    local.tm_year -= 1900;
    local.tm_mon -= 1;
    local.tm_isdst = -1;
    const std::time_t when = std::mktime(&local);
    // mktime() rolls 31 April into 1 May: a day the month has not is no date.
    if (when == std::time_t(-1) || local.tm_mday != asked.tm_mday)
        return std::nullopt;
    return FileTime(std::chrono::seconds(when));
}

std::string AttributeForm::timeText(FileTime when)
{
    return KivFormat::localTimeText(when, "%Y-%m-%d %H:%M:%S");
}

} // namespace kiv
