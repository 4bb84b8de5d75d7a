#pragma once

#include <memory>
#include <string>

namespace kiv {

class Door;

// One item behind a door: the door and the item's path on it, as jobs take what they work on.
struct DoorItem
{
    std::shared_ptr<const Door> door;
    std::string path;
};

} // namespace kiv
