#include "settings/PanelTabs.h"

#include "base/PathString.h"
#include "remote/RemotePlace.h"

#include <algorithm>

namespace kiv {

namespace {

// Whether the folder is still there is left to the listing, on a worker, when the tab is shown: a
// dead mount must not hold the window at the start.
std::string placeOf(const std::string& saved, const std::string& home)
{
    return saved.starts_with('/') || RemotePlace::looksRemote(saved) ? saved : home;
}

} // namespace

PanelTabs::PanelTabs(PanelSettings first)
    : m_tabs { std::move(first) }
{
}

PanelTabs PanelTabs::restored(PanelSettings shown, HiddenTabs hidden, const std::string& home)
{
    PanelTabs tabs(std::move(shown));
    tabs.m_tabs.insert(tabs.m_tabs.end(), std::make_move_iterator(hidden.tabs.begin()),
        std::make_move_iterator(hidden.tabs.end()));
    // The shown tab was written first; it moves to where it stood.
    tabs.m_shown = std::min(hidden.shownAt, hidden.tabs.size());
    std::rotate(
        tabs.m_tabs.begin(), tabs.m_tabs.begin() + 1, tabs.m_tabs.begin() + std::ptrdiff_t(tabs.m_shown) + 1);
    for (PanelSettings& tab : tabs.m_tabs)
        tab.folder = placeOf(tab.folder, home);
    return tabs;
}

HiddenTabs PanelTabs::hiddenSettings() const
{
    HiddenTabs hidden { m_tabs, m_shown };
    hidden.tabs.erase(hidden.tabs.begin() + std::ptrdiff_t(m_shown));
    return hidden;
}

std::string PanelTabs::title(std::size_t index) const
{
    return PathString::lastComponent(m_tabs[index].folder);
}

void PanelTabs::keepShown(PanelSettings current)
{
    m_tabs[m_shown] = std::move(current);
}

void PanelTabs::open()
{
    PanelSettings copy = m_tabs[m_shown];
    m_tabs.insert(m_tabs.begin() + std::ptrdiff_t(m_shown) + 1, std::move(copy));
    m_shown += 1;
}

bool PanelTabs::closeShown()
{
    if (m_tabs.size() == 1)
        return false;
    m_tabs.erase(m_tabs.begin() + std::ptrdiff_t(m_shown));
    m_shown = std::min(m_shown, m_tabs.size() - 1);
    return true;
}

void PanelTabs::show(std::size_t index)
{
    m_shown = index;
}

void PanelTabs::showNext()
{
    m_shown = (m_shown + 1) % m_tabs.size();
}

void PanelTabs::showPrevious()
{
    m_shown = (m_shown + m_tabs.size() - 1) % m_tabs.size();
}

} // namespace kiv
