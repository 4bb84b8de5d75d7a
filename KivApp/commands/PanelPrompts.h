#pragma once

#include "panel/PanelState.h"

namespace kiv {

class PanelViewController;

// The questions a panel's own commands ask before they act on it.
namespace PanelPrompts {

// Asks for name patterns ("Select group" or "Unselect group", with a "Match case" answer) and
// marks, or unmarks, the rows of `panel` they match; Cancel changes nothing.
void selectGroup(PanelViewController& panel, PanelState::MarkChange change);

// Opens a menu of the folders `panel` visited, newest first and each once, that takes the panel
// to the one chosen.
void showHistoryMenu(PanelViewController& panel);

} // namespace PanelPrompts

} // namespace kiv
