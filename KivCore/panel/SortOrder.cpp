#include "panel/SortOrder.h"

namespace kiv {

SortOrder SortOrder::chosen(Key chosenKey) const
{
    if (chosenKey != key || chosenKey == Key::unsorted)
        return { chosenKey, Direction::ascending };
    return { key, direction == Direction::ascending ? Direction::descending : Direction::ascending };
}

} // namespace kiv
