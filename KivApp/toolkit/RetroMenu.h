#pragma once

#include "toolkit/RetroMenuItem.h"

#include <QPoint>
#include <vector>

class QWidget;

// Popup menus in the retro style, used by the pulldown bar and the user menu.
namespace kiv::RetroMenu {

// Opens a popup menu of `items` with its top-left corner at `point` in `view`'s coordinates,
// closing any menu already open; returns at once. Does nothing when `view` is null or hidden.
void popUp(std::vector<RetroMenuItem> items, QPoint point, QWidget* view);

} // namespace kiv::RetroMenu
