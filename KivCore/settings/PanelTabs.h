#pragma once

#include "settings/Settings.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kiv {

// The tabs of one panel: what each keeps (folder, sort order, hidden-file flag, folder history)
// and which one the panel shows. The shown tab lives in the panel itself; keepShown() brings its
// state here before the panel shows another tab or the settings are saved. There is always at
// least one tab.
class PanelTabs
{
public:
    // One tab, holding `first`.
    explicit PanelTabs(PanelSettings first);

    // Returns the tabs saved as `shown` and `hidden`, the shown one where `hidden` says it stood;
    // an empty or relative folder stands for `home`. Reads nothing: a folder gone since is the
    // panel's to leave when the tab is shown.
    static PanelTabs restored(PanelSettings shown, HiddenTabs hidden, const std::string& home);

    // Returns the shown tab and the others in their saved form.
    PanelSettings shownSettings() const { return m_tabs[m_shown]; }
    HiddenTabs hiddenSettings() const;

    // Returns how many tabs there are.
    std::size_t count() const { return m_tabs.size(); }
    // Returns the index of the shown tab.
    std::size_t shownIndex() const { return m_shown; }
    // Returns what tab `index` keeps. REQUIRES: index < count().
    const PanelSettings& tab(std::size_t index) const { return m_tabs[index]; }
    // Returns the title of tab `index`: its folder's last name, "/" for the root.
    std::string title(std::size_t index) const;

    // Takes `current` as what the shown tab holds now.
    void keepShown(PanelSettings current);
    // Opens a tab after the shown one, holding what the shown one holds, and shows it.
    void open();
    // Closes the shown tab and shows the one after it (the one before, at the end); the last tab
    // stays. Returns whether a tab was closed.
    bool closeShown();
    // Shows tab `index`. REQUIRES: index < count().
    void show(std::size_t index);
    // Shows the next tab, or the first after the last.
    void showNext();
    // Shows the previous tab, or the last before the first.
    void showPrevious();

private:
    std::vector<PanelSettings> m_tabs;
    std::size_t m_shown = 0;
};

} // namespace kiv
