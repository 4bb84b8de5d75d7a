#include "attributes/AttributeChange.h"

#include <chrono>

namespace kiv {

ItemAttributes AttributeChange::appliedTo(const ItemAttributes& now) const
{
    ItemAttributes changed = now;
    changed.permissions = ((now.permissions | turnOn) & ~turnOff) & 07777;
    changed.owner = owner.value_or(now.owner);
    changed.group = group.value_or(now.group);
    if (modified) {
        const auto since = modified->time_since_epoch();
        const auto seconds = std::chrono::floor<std::chrono::seconds>(since);
        changed.modifiedSeconds = seconds.count();
        changed.modifiedNanoseconds = std::chrono::nanoseconds(since - seconds).count();
    }
    return changed;
}

bool AttributeChange::reaches(const ItemAttributes& item) const
{
    switch (reach) {
    case Reach::filesOnly:
        return !item.isFolder();
    case Reach::foldersOnly:
        return item.isFolder();
    case Reach::markedItems:
    case Reach::everything:
        break;
    }
    return true;
}

} // namespace kiv
