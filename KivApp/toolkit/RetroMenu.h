#pragma once

#include "toolkit/RetroMenuItem.h"

#include <QPoint>
#include <vector>

class QWidget;

// Popup menus in the retro style, used by the pulldown bar and the user menu.
namespace kiv::RetroMenu {

// Which entry a menu highlights as it opens: none, or the first that can be chosen, so that
// Return chooses it at once.
enum class Opening
{
    nothingHighlighted,
    firstHighlighted
};

// Opens a popup menu of `items` with its top-left corner at `point` in `view`'s coordinates,
// closing any menu already open; returns at once. Does nothing when `view` is null or hidden.
void popUp(std::vector<RetroMenuItem> items, QPoint point, QWidget* view,
    Opening opening = Opening::nothingHighlighted);

} // namespace kiv::RetroMenu
