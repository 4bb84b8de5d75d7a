#pragma once

#include "base/FileEntry.h"
#include "panel/PanelState.h"
#include "panels/PanelNavigator.h"
#include "panels/PanelNavigatorScreen.h"
#include "settings/Settings.h"

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

class QDropEvent;

namespace kiv {

class PanelEditorCover;
class PanelEditorView;
class PanelFrameView;
class PanelListModel;
class PanelRowDelegate;
class PanelTableView;
class PanelViewControllerDelegate;

// One file panel on screen: its frame (PanelFrameView) shows the location line, the column titles,
// the rows of its PanelState and a status line. Turns the list's marking keys into marks, moves by
// the intents below (carried out by its PanelNavigator, which lists on a worker and follows the
// disk), reports to its delegate, and can be covered by the in-panel editor (PanelEditorCover). A
// slow listing shows its count in the status line and Esc stops it. Its state changes only through
// its own intents (reload, goTo, marks, hidden files), each of which redraws what changed. A drag
// from its rows and files dropped on them go to its delegate.
class PanelViewController : public QObject, private PanelNavigatorScreen
{
    Q_OBJECT
public:
    // Creates the panel on `startPath`; lists nothing until reload().
    explicit PanelViewController(const std::string& startPath, QObject* parent = nullptr);
    // Creates the panel on `start`, whose door also opens the real folders it goes to by path.
    explicit PanelViewController(PanelLocation start, QObject* parent = nullptr);
    // Deletes the panel's view too, unless a parent widget deleted it first.
    ~PanelViewController() override;

    // Returns the panel's view, to be placed by the owner; its widget parent owns it from then on.
    PanelFrameView* view() const;
    // Returns the panel's list.
    PanelTableView* tableView() const { return m_tableView; }
    // Returns the panel's model, to read: the intents below make every change.
    const PanelState& state() const { return m_state; }
    // Returns the editor covering the panel, or null.
    PanelEditorView* editorView() const;
    // Returns what lays the in-panel editor over the panel.
    PanelEditorCover& editorCover() const { return *m_editor; }
    // Returns the folders visited, oldest first (see goBack()).
    const FolderHistory& history() const { return m_navigator->history(); }

    // Returns the receiver of the panel's reports, or null.
    PanelViewControllerDelegate* delegate() const { return m_delegate; }
    // Sets the receiver of the panel's reports; not owned, and must outlive the panel or be cleared.
    void setDelegate(PanelViewControllerDelegate* delegate) { m_delegate = delegate; }

    // Returns whether this is the panel with the keyboard focus.
    bool isActive() const { return m_isActive; }
    // Sets whether this is the active panel and redraws the cursor bar in the matching colour.
    void setActive(bool active);

    using MoveEnd = PanelNavigator::MoveEnd;

    // The moves, as PanelNavigator makes them; what the navigator tells its screen reaches the
    // delegate: a failure to list, a file to open, a server to connect to.
    void reload() { m_navigator->reload(); }
    void goTo(const std::string& path, MoveEnd then = {}) { m_navigator->goTo(path, std::move(then)); }
    void goTo(PanelLocation place, std::string_view cursorName, MoveEnd then = {})
    {
        m_navigator->goTo(std::move(place), cursorName, std::move(then));
    }
    void goToItem(const std::string& path) { m_navigator->goToItem(path); }
    void stopListing() { m_navigator->stopListing(); }
    bool isListing() const { return m_navigator->isListing(); }
    void whenListed(std::function<void()> then) { m_navigator->whenListed(std::move(then)); }
    // Alt+Left and Alt+Right.
    void goBack() { m_navigator->goBack(); }
    void goForward() { m_navigator->goForward(); }
    PanelSettings settings() const { return m_navigator->settings(); }
    void restore(const PanelSettings& settings, std::string_view cursorName = {}, MoveEnd then = {})
    {
        m_navigator->restore(settings, cursorName, std::move(then));
    }
    // Enters the folder or archive under the cursor, or has the delegate open the file there
    // (Return, a double click).
    void activateSelection();
    // Goes to the parent of the place shown, the cursor landing on the row left (Backspace);
    // nothing at the top.
    void goToParent();
    // Replaces the marks by `names` (none unmarks every row) and redraws; names without a row go
    // at the next listing.
    void setMarks(std::unordered_set<std::string> names);
    // Shows `bytes` as the size of the folder at `path` when it is a row of this panel's folder
    // (see PanelState::setFolderSize); nothing otherwise.
    void showFolderSize(const std::string& path, std::int64_t bytes);
    // Lists names that begin with "." from now on when `show` is true, else leaves them out; relists.
    void setShowHidden(bool show);
    // Shows the names that begin with "." when they are left out, else leaves them out; relists.
    void toggleHidden();
    // Sorts by `key`, or reverses the order when it already sorts by it; relists (see setSortOrder).
    void chooseSortKey(SortOrder::Key key);
    // Orders the rows by `order` from now on and relists, the cursor staying on its row's name.
    void setSortOrder(SortOrder order);
    // Marks, or unmarks, the rows whose names `patterns` match.
    void markMatching(const NamePatterns& patterns, PanelState::MarkChange change);
    // Marks the unmarked rows but ".." and unmarks the marked ones.
    void invertMarks();
    // Shows `text` in the status line instead of the counts until the next key pressed on the
    // panel: relistings that follow the operation it reports must not wipe it at once.
    void showNotice(const QString& text) override;
    // Gives the keyboard focus to the shown editor, else to the list.
    void focus();
    // Returns the entry under the cursor, or nothing when the list has no selected row.
    std::optional<FileEntry> selectedEntry() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the navigator asks of its screen (PanelNavigatorScreen).
    void replaceRows(const std::function<void()>& change) override;
    void showPlace() override;
    void redrawKeepingCursor() override;
    void showStatus(const QString& text) override;
    void updateStatusLine() override;
    void reportFailure(const std::exception& error, const PanelLocation& place) override;
    void openFile(const std::string& realPath) override;
    void goToServer(const std::string& url) override;

    void wireTable();
    void selectionChanged();
    void toggleMark();
    const FileEntry* entryAt(int row) const;
    void dragFrom(int row);
    void dropOn(const QDropEvent& event, int row);

    PanelState m_state;
    PanelViewControllerDelegate* m_delegate = nullptr;
    bool m_isActive = false;
    QString m_notice;
    PanelListModel* m_model;
    PanelRowDelegate* m_rowView;
    QPointer<PanelFrameView> m_view;
    PanelTableView* m_tableView;
    PanelEditorCover* m_editor;
    PanelNavigator* m_navigator;
};

} // namespace kiv
