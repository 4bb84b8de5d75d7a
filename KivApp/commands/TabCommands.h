#pragma once

#include "settings/PanelTabs.h"

#include <QObject>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

namespace kiv {

class PanelPair;
class PanelTabRow;
class PanelViewController;

// The tabs of each panel (Ctrl+T, Ctrl+W, Ctrl+PageUp, Ctrl+PageDown): each keeps its folder, sort
// order, hidden-file flag, history and marks, and only the shown one is listed and watched, by the
// panel itself; the others are what they keep. The row of titles shows over a panel that has two
// tabs or more.
class TabCommands : public QObject
{
    Q_OBJECT
public:
    // Gives each panel of `panels`, which outlive this object, one tab and a hidden row of titles.
    explicit TabCommands(PanelPair& panels, QObject* parent = nullptr);

    // Gives `panel` the tabs saved as `shown` and `hidden`, each on a folder that exists now (see
    // PanelTabs::restored), and lists the shown one.
    void restore(PanelViewController& panel, const PanelSettings& shown, const HiddenTabs& hidden,
        const std::string& home);
    // Returns the tabs of `panel` that it does not show, to be saved.
    HiddenTabs hiddenTabs(const PanelViewController& panel) const;
    // Returns the tabs of `panel`, its shown one as it was last left.
    const PanelTabs& tabs(const PanelViewController& panel) const;

    // Opens a tab on `panel`'s folder after the shown one and shows it, without marks.
    void openTab(PanelViewController& panel);
    // Closes `panel`'s shown tab and shows the next; the last tab stays.
    void closeTab(PanelViewController& panel);
    // Shows `panel`'s next tab, the first after the last.
    void nextTab(PanelViewController& panel);
    // Shows `panel`'s previous tab, the last before the first.
    void previousTab(PanelViewController& panel);

private:
    struct Side
    {
        PanelTabs tabs;
        std::vector<std::unordered_set<std::string>> marks; // each tab's, by index
        PanelTabRow* row;
    };

    Side& sideOf(const PanelViewController& panel);
    void keep(PanelViewController& panel, Side& side);
    void switchTo(PanelViewController& panel, Side& side, void (PanelTabs::*step)());
    void showShown(PanelViewController& panel, Side& side);
    static void drawRow(Side& side);

    std::map<const PanelViewController*, Side> m_sides;
};

} // namespace kiv
