#pragma once

#include <QString>
#include <exception>
#include <functional>
#include <string>

namespace kiv {

class PanelLocation;

// What a panel's navigator asks of the panel that shows it: the navigator lists and moves, the
// screen draws and reports.
class PanelNavigatorScreen
{
public:
    // Runs `change` to the panel's rows as one swap of every row.
    virtual void replaceRows(const std::function<void()>& change) = 0;
    // Shows the place arrived at or relisted: its line, sort order, cursor and counts.
    virtual void showPlace() = 0;
    // Redraws the rows, the cursor on its row.
    virtual void redrawKeepingCursor() = 0;
    // Shows `text` in the status line until the next key; `status` shows it until the next count.
    virtual void showNotice(const QString& text) = 0;
    virtual void showStatus(const QString& text) = 0;
    // Shows the counts (or the notice) again in the status line.
    virtual void updateStatusLine() = 0;
    // Tells that `place` could not be listed, for `error`.
    virtual void reportFailure(const std::exception& error, const PanelLocation& place) = 0;
    // Has the file at `realPath` of this machine opened, as Return on its row would.
    virtual void openFile(const std::string& realPath) = 0;
    // Has the server at `url` connected to for this panel.
    virtual void goToServer(const std::string& url) = 0;

protected:
    ~PanelNavigatorScreen() = default;
};

} // namespace kiv
