#pragma once

#include "toolkit/RetroMenuItem.h"

#include <vector>

namespace kiv {
class MainWindowController;
}

// The contents of the five pulldown menus of the main window's menu bar.
namespace kiv::PulldownMenus {

// Returns the items of menu-bar title `index` ("Left", "Files", "Commands", "Options", "Right"
// for 0 to 4), whose actions call `controller` while it exists; no items for any other index.
std::vector<RetroMenuItem> items(int index, MainWindowController& controller);

} // namespace kiv::PulldownMenus
