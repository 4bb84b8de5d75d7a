#include "commands/TabCommands.h"

#include "panels/PanelFrameView.h"
#include "panels/PanelPair.h"
#include "panels/PanelTabRow.h"
#include "panels/PanelViewController.h"
#include "text/CellText.h"
#include "toolkit/ShownText.h"
#include "toolkit/Weakly.h"

namespace kiv {

namespace {

// The most cells a tab's name takes in a menu: a long one is cut, as in the panel.
constexpr int menuTitleCells = 40;

QString menuTitleOf(const std::string& name)
{
    std::string fitted;
    for (const CellText::Piece& piece : CellText::fitted(name, menuTitleCells, CellText::Side::left))
        fitted += piece.text;
    return ShownText::of(fitted).trimmed();
}

std::string cursorNameOf(const PanelState& state)
{
    const auto& rows = state.entries();
    const std::ptrdiff_t at = state.cursorIndex();
    return at >= 0 && at < std::ptrdiff_t(rows.size()) ? rows[std::size_t(at)].name : std::string();
}

} // namespace

TabCommands::TabCommands(PanelPair& panels, QObject* parent)
    : QObject(parent)
{
    for (PanelViewController* panel : { &panels.left(), &panels.right() }) {
        auto* row = new PanelTabRow;
        panel->view()->setTopRow(row);
        m_sides.emplace(panel, Side { PanelTabs(panel->settings()), { {} }, row });
        drawRow(m_sides.at(panel));
    }
}

TabCommands::Side& TabCommands::sideOf(const PanelViewController& panel)
{
    return m_sides.at(&panel);
}

void TabCommands::restore(
    PanelViewController& panel, const PanelSettings& shown, const HiddenTabs& hidden, const std::string& home)
{
    Side& side = sideOf(panel);
    side.tabs = PanelTabs::restored(shown, hidden, home);
    side.views.assign(side.tabs.count(), {});
    panel.restore(side.tabs.shownSettings());
    drawRow(side);
}

HiddenTabs TabCommands::hiddenTabs(const PanelViewController& panel) const
{
    PanelTabs now = m_sides.at(&panel).tabs;
    now.keepShown(panel.settings());
    return now.hiddenSettings();
}

std::vector<RetroMenuItem> TabCommands::menuItems(PanelViewController& panel)
{
    const Side& side = sideOf(panel);
    std::vector<RetroMenuItem> items;
    if (side.tabs.count() < 2)
        return items;
    for (std::size_t at = 0; at < side.tabs.count(); ++at) {
        // The first nine are chosen by their number.
        const QChar letter = at < 9 ? QChar(char16_t(u'1' + at)) : QChar();
        const QString tick = at == side.tabs.shownIndex() ? QStringLiteral("\u221A ") : QStringLiteral("  ");
        const QString title = tick + QString::number(at + 1) + u' ' + menuTitleOf(side.tabs.title(at));
        items.push_back(RetroMenuItem::item(title,
            weakly(this, [&panel, at](TabCommands& tabs) { tabs.showTab(panel, at); }), letter));
    }
    return items;
}

void TabCommands::panelMoved(PanelViewController& panel)
{
    Side& side = sideOf(panel);
    side.tabs.keepShown(panel.settings());
    drawRow(side);
}

// What the shown tab holds now goes into its keeping before another is shown. Until a tab just
// shown is listed, the rows are still those of the tab before: its marks and cursor stay as kept.
void TabCommands::keep(PanelViewController& panel, Side& side)
{
    const PanelSettings now = panel.settings();
    const PanelLocation& shown = panel.state().location();
    if (shown.address() == now.folder) {
        // A tab comes back on the folder holding an archive or a found item, where the names of
        // those rows would mark others.
        const bool ownRows = !shown.isArchive() && !shown.isFound();
        side.views[side.tabs.shownIndex()] = ownRows
            ? TabView { now.folder, panel.state().markedNames(), cursorNameOf(panel.state()) }
            : TabView {};
    }
    side.tabs.keepShown(now);
}

void TabCommands::showShown(PanelViewController& panel, Side& side)
{
    const TabView view = side.views[side.tabs.shownIndex()];
    // A tab whose folder went meanwhile lands elsewhere: its marks name rows of another folder.
    panel.restore(side.tabs.shownSettings(), view.cursorName, [&panel, view](bool arrived) {
        if (arrived && panel.state().location().address() == view.folder)
            panel.setMarks(view.marks);
    });
    drawRow(side);
}

void TabCommands::openTab(PanelViewController& panel)
{
    Side& side = sideOf(panel);
    keep(panel, side);
    TabView view = side.views[side.tabs.shownIndex()];
    view.marks.clear();
    side.tabs.open();
    side.views.insert(side.views.begin() + std::ptrdiff_t(side.tabs.shownIndex()), std::move(view));
    showShown(panel, side);
}

void TabCommands::closeTab(PanelViewController& panel)
{
    Side& side = sideOf(panel);
    const std::size_t closing = side.tabs.shownIndex();
    if (!side.tabs.closeShown())
        return;
    side.views.erase(side.views.begin() + std::ptrdiff_t(closing));
    showShown(panel, side);
}

void TabCommands::switchTo(PanelViewController& panel, Side& side, const std::function<void(PanelTabs&)>& step)
{
    if (side.tabs.count() < 2)
        return;
    keep(panel, side);
    step(side.tabs);
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

void TabCommands::showTab(PanelViewController& panel, std::size_t index)
{
    Side& side = sideOf(panel);
    if (index < side.tabs.count() && index != side.tabs.shownIndex())
        switchTo(panel, side, [index](PanelTabs& tabs) { tabs.show(index); });
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
