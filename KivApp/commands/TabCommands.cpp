#include "commands/TabCommands.h"

#include "panels/PanelPair.h"
#include "panels/PanelTabRow.h"
#include "panels/PanelViewController.h"

namespace kiv {

TabCommands::TabCommands(PanelPair& panels, QObject* parent)
    : QObject(parent)
{
    for (PanelViewController* panel : { &panels.left(), &panels.right() }) {
        auto* row = new PanelTabRow;
        panel->setTopRow(row);
        m_sides.emplace(panel, Side { PanelTabs(panel->settings()), { {} }, row });
        drawRow(m_sides.at(panel));
    }
}

TabCommands::Side& TabCommands::sideOf(const PanelViewController& panel)
{
    return m_sides.at(&panel);
}

const PanelTabs& TabCommands::tabs(const PanelViewController& panel) const
{
    return m_sides.at(&panel).tabs;
}

void TabCommands::restore(
    PanelViewController& panel, const PanelSettings& shown, const HiddenTabs& hidden, const std::string& home)
{
    Side& side = sideOf(panel);
    side.tabs = PanelTabs::restored(shown, hidden, home);
    side.marks.assign(side.tabs.count(), {});
    panel.restore(side.tabs.shownSettings());
    drawRow(side);
}

HiddenTabs TabCommands::hiddenTabs(const PanelViewController& panel) const
{
    PanelTabs now = tabs(panel);
    now.keepShown(panel.settings());
    return now.hiddenSettings();
}

// What the shown tab holds now goes into its keeping before another is shown.
void TabCommands::keep(PanelViewController& panel, Side& side)
{
    side.tabs.keepShown(panel.settings());
    side.marks[side.tabs.shownIndex()] = panel.state().markedNames();
}

void TabCommands::showShown(PanelViewController& panel, Side& side)
{
    panel.restore(side.tabs.shownSettings());
    panel.setMarks(side.marks[side.tabs.shownIndex()]);
    drawRow(side);
}

void TabCommands::openTab(PanelViewController& panel)
{
    Side& side = sideOf(panel);
    keep(panel, side);
    side.tabs.open();
    side.marks.insert(side.marks.begin() + std::ptrdiff_t(side.tabs.shownIndex()), {});
    showShown(panel, side);
}

void TabCommands::closeTab(PanelViewController& panel)
{
    Side& side = sideOf(panel);
    const std::size_t closing = side.tabs.shownIndex();
    keep(panel, side);
    if (!side.tabs.closeShown())
        return;
    side.marks.erase(side.marks.begin() + std::ptrdiff_t(closing));
    showShown(panel, side);
}

void TabCommands::switchTo(PanelViewController& panel, Side& side, void (PanelTabs::*step)())
{
    if (side.tabs.count() < 2)
        return;
    keep(panel, side);
    (side.tabs.*step)();
    showShown(panel, side);
}

void TabCommands::nextTab(PanelViewController& panel)
{
    switchTo(panel, sideOf(panel), &PanelTabs::showNext);
}

void TabCommands::previousTab(PanelViewController& panel)
{
    switchTo(panel, sideOf(panel), &PanelTabs::showPrevious);
}

void TabCommands::drawRow(Side& side)
{
    std::vector<std::string> titles;
    for (std::size_t at = 0; at < side.tabs.count(); ++at)
        titles.push_back(side.tabs.title(at));
    side.row->setTitles(std::move(titles), side.tabs.shownIndex());
    side.row->setVisible(side.tabs.count() >= 2);
}

} // namespace kiv
