#pragma once

#include "panel/SortOrder.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kiv {

// What one panel, or one of its tabs, keeps between runs. A plain value.
struct PanelSettings
{
    std::string folder; // empty: the home folder
    bool showHidden = false;
    SortOrder sortOrder;
    std::vector<std::string> history; // oldest first

    bool operator==(const PanelSettings&) const = default;
};

// A panel's tabs besides the one it shows, in their order, and the place of the shown one among
// all of them (0: before the first). A plain value; no tabs for a panel that has one.
struct HiddenTabs
{
    std::vector<PanelSettings> tabs;
    std::size_t shownAt = 0;

    bool operator==(const HiddenTabs&) const = default;
};

// Everything the program keeps between runs. A plain value; the defaults are a first start.
struct Settings
{
    PanelSettings left;
    PanelSettings right;
    int windowWidth = 0; // 0: the program's own size
    int windowHeight = 0;
    int dividerPosition = -1; // the left pane's width in pixels; -1: half the width
    std::vector<std::string> hotlist;
    std::vector<std::string> commandHistory; // oldest first
    HiddenTabs leftTabs = {}; // `left` and `right` are the tabs the panels show
    HiddenTabs rightTabs = {};

    bool operator==(const Settings&) const = default;
};

} // namespace kiv
