#pragma once

#include "base/FileEntry.h"
#include "panel/FolderHistory.h"
#include "panel/PanelState.h"
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

class FolderWatcher;
class ListingRunner;
class PanelEditorCover;
class PanelEditorView;
class PanelFrameView;
class PanelListModel;
class PanelRowDelegate;
class PanelTableView;
class PanelViewControllerDelegate;

// One file panel on screen: its frame (PanelFrameView) shows the location line, the column titles,
// the rows of its PanelState and a status line. Turns the list's marking keys into marks, moves by
// the intents below, reports to its delegate, and can be covered by the in-panel editor
// (PanelEditorCover). A
// real folder is followed: changes made by anyone are listed shortly after, and when the folder goes the
// panel moves to the nearest folder that is still there. Folders are listed on a worker and the rows swapped
// in at once; a slow listing shows its count in the status line and Esc stops it. Its state changes only
// through its own intents (reload, goTo, marks, hidden files), each of which redraws what changed.
// A drag from its rows and files dropped on them go to its delegate.
class PanelViewController : public QObject
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
    const FolderHistory& history() const { return m_history; }

    // Returns the receiver of the panel's reports, or null.
    PanelViewControllerDelegate* delegate() const { return m_delegate; }
    // Sets the receiver of the panel's reports; not owned, and must outlive the panel or be cleared.
    void setDelegate(PanelViewControllerDelegate* delegate) { m_delegate = delegate; }

    // Returns whether this is the panel with the keyboard focus.
    bool isActive() const { return m_isActive; }
    // Sets whether this is the active panel and redraws the cursor bar in the matching colour.
    void setActive(bool active);

    // Told whether a move arrived (false: the place was refused; not told when superseded).
    using MoveEnd = std::function<void(bool arrived)>;

    // Relists the location on a worker (a failure is reported to the delegate), then refreshes
    // the whole panel. While a listing is under way it relists once more after it.
    void reload();
    // Goes to the real folder `path` with no marks and the cursor on the first row, once it is
    // listed on a worker; the old rows show and take keys until then. When it cannot be listed
    // the panel stays exactly as it was and the delegate hears of it once. A later move
    // supersedes it. `then` hears how it ended. An sftp:// URL goes to the delegate to connect to
    // (and `then` hears nothing).
    void goTo(const std::string& path, MoveEnd then = {});
    // As goTo(path) for any place, then puts the cursor on the row named `cursorName`, if listed.
    void goTo(PanelLocation place, std::string_view cursorName, MoveEnd then = {});
    // As goTo(path), but where `path` turns out to be a file, goes to the folder holding it with
    // the cursor on it.
    void goToItem(const std::string& path);
    // Stops the listing under way, if any: the panel stays where it was, with its rows (Esc).
    void stopListing();
    // Enters the folder or archive under the cursor, or has the delegate open the file there
    // (Return, a double click).
    void activateSelection();
    // Goes to the parent of the place shown, the cursor landing on the row left (Backspace);
    // nothing at the top.
    void goToParent();
    // Returns whether a listing is under way.
    bool isListing() const;
    // Calls `then` once no listing is under way: at once when none is, else when the last one has
    // ended or was stopped.
    void whenListed(std::function<void()> then);
    // Goes back to the folder visited before the current one (Alt+Left), if any.
    void goBack();
    // Goes forward again after goBack() (Alt+Right), if possible.
    void goForward();
    // Returns what the panel keeps between runs: folder (the one being listed, while one is),
    // hidden files, sort order and history.
    PanelSettings settings() const;
    // Takes on `settings` and lists its folder on a worker, "Reading..." showing until then, the
    // cursor on the row named `cursorName` if listed and `then` hearing of the arrival. A folder
    // gone since stands for the nearest one above it still there, and the current place for one
    // that is empty or cannot be listed at all (said to nobody: a folder gone since the last run is
    // no error); a server's is handed to the delegate to connect to as a job.
    void restore(const PanelSettings& settings, std::string_view cursorName = {}, MoveEnd then = {});
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
    void showNotice(const QString& text);
    // Gives the keyboard focus to the shown editor, else to the list.
    void focus();
    // Returns the entry under the cursor, or nothing when the list has no selected row.
    std::optional<FileEntry> selectedEntry() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void wireTable();
    void syncUI();
    void watchLocation();
    void followDisk();
    void redrawKeepingCursor();
    void updateStatusLine();
    void noteDamage();
    void selectionChanged();
    void toggleMark();
    const FileEntry* entryAt(int row) const;
    void dragFrom(int row);
    void dropOn(const QDropEvent& event, int row);
    void moveTo(PanelState::Destination destination, MoveEnd then = {});
    void arrive(ListingJob& listed, const PanelState::Destination& destination, const MoveEnd& then);
    bool openedAsFile(const ListingJob& listed, const PanelState::Destination& destination);
    bool wentToItsFolder(const ListingJob& listed, const PanelState::Destination& destination, const MoveEnd& then);
    void relist(ListingJob::IfGone ifGone);
    void relisted(ListingJob& listed);
    bool reportedRefusal(const ListingJob& listed);
    void showReadingProgress(std::int64_t itemsRead);
    void listingEnded();
    void stepThroughHistory(std::optional<std::string> (FolderHistory::*step)(),
        std::optional<std::string> (FolderHistory::*undo)());
    void reportFailure(const std::exception& error, const PanelLocation& place);

    PanelState m_state;
    PanelViewControllerDelegate* m_delegate = nullptr;
    bool m_isActive = false;
    QString m_notice;
    PanelListModel* m_model;
    PanelRowDelegate* m_rowView;
    QPointer<PanelFrameView> m_view;
    PanelTableView* m_tableView;
    PanelEditorCover* m_editor;
    FolderWatcher* m_folderWatcher;
    ListingRunner* m_listing;
    std::optional<ListingJob::IfGone> m_relistAgain; // a relisting asked for while a listing was under way
    std::vector<std::function<void()>> m_whenListed;
    FolderHistory m_history;
};

} // namespace kiv
