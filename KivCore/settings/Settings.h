#pragma once

#include "panel/SortOrder.h"

#include <string>
#include <vector>

namespace kiv {

// What one panel keeps between runs. A plain value.
struct PanelSettings
{
    std::string folder; // empty: the home folder
    bool showHidden = false;
    SortOrder sortOrder;
    std::vector<std::string> history; // oldest first

    bool operator==(const PanelSettings&) const = default;
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

    bool operator==(const Settings&) const = default;
};

} // namespace kiv
