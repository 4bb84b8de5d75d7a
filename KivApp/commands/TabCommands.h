#pragma once

#include "settings/PanelTabs.h"
#include "toolkit/RetroMenuItem.h"

#include <QObject>
#include <functional>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

namespace kiv {

class PanelPair;
class PanelTabRow;
class PanelViewController;

// The tabs of each panel (Ctrl+T, Ctrl+W, Ctrl+PageUp, Ctrl+PageDown): each keeps its folder, sort
// order, hidden-file flag, history, cursor and marks, and only the shown one is listed and
// watched, by the panel itself; the others are only what they keep until shown. The row of titles
// shows over a panel that has two tabs or more.
class TabCommands : public QObject
{
    Q_OBJECT
public:
    // Gives each panel of `panels`, which outlive this object, one tab and a hidden row of titles.
    explicit TabCommands(PanelPair& panels, QObject* parent = nullptr);

    // Gives `panel` the tabs saved as `shown` and `hidden` (see PanelTabs::restored) and lists the
    // shown one; a folder gone since is left for the nearest one still there when listed.
    void restore(PanelViewController& panel, const PanelSettings& shown, const HiddenTabs& hidden,
        const std::string& home);
    // Returns the tabs of `panel` that it does not show, to be saved.
    HiddenTabs hiddenTabs(const PanelViewController& panel) const;
    // Returns the entries of the Left or Right menu for `panel`'s tabs, each showing its tab, the
    // shown one ticked; none for a single tab.
    std::vector<RetroMenuItem> menuItems(PanelViewController& panel);
    // Takes the place `panel` has moved to as its shown tab's, for the tab's title.
    void panelMoved(PanelViewController& panel);

    // Opens a tab on `panel`'s folder after the shown one and shows it, without marks.
    void openTab(PanelViewController& panel);
    // Closes `panel`'s shown tab and shows the next; the last tab stays.
    void closeTab(PanelViewController& panel);
    // Shows `panel`'s next tab, the first after the last.
    void nextTab(PanelViewController& panel);
    // Shows `panel`'s previous tab, the last before the first.
    void previousTab(PanelViewController& panel);
    // Shows `panel`'s tab `index`; nothing when there is no such tab.
    void showTab(PanelViewController& panel, std::size_t index);

private:
    // What a tab keeps that the settings file does not: the marks and the cursor's row, valid only
    // in the folder they were left in.
    struct TabView
    {
        std::string folder;
        std::unordered_set<std::string> marks;
        std::string cursorName;
    };
    struct Side
    {
        PanelTabs tabs;
        std::vector<TabView> views; // each tab's, by index
        PanelTabRow* row;
    };

    Side& sideOf(const PanelViewController& panel);
    static void keep(PanelViewController& panel, Side& side);
    void switchTo(PanelViewController& panel, Side& side, const std::function<void(PanelTabs&)>& step);
    void showShown(PanelViewController& panel, Side& side);
    static void drawRow(Side& side);

    std::map<const PanelViewController*, Side> m_sides;
};

} // namespace kiv
