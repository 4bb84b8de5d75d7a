#include "sync/SyncItem.h"

#include <algorithm>

namespace kiv {

SyncItem::Action SyncItem::proposed(Difference difference)
{
    switch (difference) {
    case Difference::leftOnly:
    case Difference::leftNewer:
        return Action::copyToRight;
    case Difference::rightOnly:
    case Difference::rightNewer:
        return Action::copyToLeft;
    case Difference::conflict:
    case Difference::unreadable:
        break;
    }
    return Action::skip;
}

std::vector<SyncItem::Action> SyncItem::choices() const
{
    if (difference == Difference::unreadable)
        return { Action::skip };
    std::vector<Action> actions;
    if (left)
        actions.push_back(Action::copyToRight);
    if (right)
        actions.push_back(Action::copyToLeft);
    actions.push_back(Action::skip);
    // Deleting makes the two alike only where one side alone has the item.
    if (left && !right)
        actions.push_back(Action::deleteLeft);
    if (right && !left)
        actions.push_back(Action::deleteRight);
    return actions;
}

SyncItem::Action SyncItem::nextChoice() const
{
    const auto actions = choices();
    const auto at = std::find(actions.begin(), actions.end(), action);
    return at == actions.end() || at + 1 == actions.end() ? actions.front() : *(at + 1);
}

} // namespace kiv
