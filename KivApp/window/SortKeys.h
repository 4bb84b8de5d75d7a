#pragma once

#include "panel/SortOrder.h"

#include <array>

// The sort orders the user chooses with Ctrl+F3 to Ctrl+F7 and from the "Left" and "Right" menus.
namespace kiv::SortKeys {

// One choosable order: its Ctrl+function-key number, its key and its menu title.
struct Binding
{
    int functionKey;
    SortOrder::Key key;
    const char* title;
};

inline constexpr std::array<Binding, 5> bindings { {
    { 3, SortOrder::Key::name, "Sort by Name" },
    { 4, SortOrder::Key::extension, "Sort by Extension" },
    { 5, SortOrder::Key::modificationTime, "Sort by Time" },
    { 6, SortOrder::Key::size, "Sort by Size" },
    { 7, SortOrder::Key::unsorted, "Unsorted" },
} };

} // namespace kiv::SortKeys
