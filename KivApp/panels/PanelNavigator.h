#pragma once

#include "panel/FolderHistory.h"
#include "panel/ListingJob.h"
#include "panel/PanelState.h"
#include "settings/Settings.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

class FolderWatcher;
class ListingRunner;
class PanelNavigatorScreen;

// Where one panel stands and how it moves, without a widget: lists places on a worker (one
// listing that counts at a time, a relisting asked for meanwhile run once after it), follows a
// real folder's changes made by anyone (moving to the nearest folder still there when it goes),
// and keeps the folders visited. What it finds goes into the panel's PanelState, and its screen
// (PanelNavigatorScreen) shows it.
class PanelNavigator : public QObject
{
    Q_OBJECT
public:
    // Told whether a move arrived (false: the place was refused; not told when superseded).
    using MoveEnd = std::function<void(bool arrived)>;

    // Moves `state` and tells `screen`; both must outlive this.
    PanelNavigator(PanelState& state, PanelNavigatorScreen& screen, QObject* parent = nullptr);

    // Relists the place on a worker (a failure is reported to the screen). While a listing is
    // under way it relists once more after it.
    void reload();
    // Goes to the real folder `path` with no marks and the cursor on the first row, once it is
    // listed on a worker; the old rows show and take keys until then. When it cannot be listed
    // the panel stays exactly as it was and the screen hears of it once. A later move supersedes
    // it. `then` hears how it ended. An sftp:// URL goes to the screen to connect to (and `then`
    // hears nothing).
    void goTo(const std::string& path, MoveEnd then = {});
    // As goTo(path) for any place, then puts the cursor on the row named `cursorName`, if listed.
    void goTo(PanelLocation place, std::string_view cursorName, MoveEnd then = {});
    // As goTo(path), but where `path` turns out to be a file, goes to the folder holding it with
    // the cursor on it.
    void goToItem(const std::string& path);
    // Lists `destination` and arrives there as goTo() does (entering a row, going up).
    void moveTo(PanelState::Destination destination, MoveEnd then = {});
    // Stops the listing under way, if any: the panel stays where it was, with its rows (Esc).
    void stopListing();
    // Returns whether a listing is under way.
    bool isListing() const;
    // Calls `then` once no listing is under way: at once when none is, else when the last one has
    // ended or was stopped.
    void whenListed(std::function<void()> then);
    // Goes back to the folder visited before the current one, if any.
    void goBack();
    // Goes forward again after goBack(), if possible.
    void goForward();
    // Returns the folders visited, oldest first.
    const FolderHistory& history() const { return m_history; }
    // Returns what the panel keeps between runs: folder (the one being listed, while one is),
    // hidden files, sort order and history.
    PanelSettings settings() const;
    // Takes on `settings` and lists its folder on a worker, "Reading..." showing until then, the
    // cursor on the row named `cursorName` if listed and `then` hearing of the arrival. A folder
    // gone since stands for the nearest one above it still there, and the current place for one
    // that is empty or cannot be listed at all (said to nobody: a folder gone since the last run is
    // no error); a server's is handed to the screen to connect to as a job.
    void restore(const PanelSettings& settings, std::string_view cursorName, MoveEnd then);

private:
    void relist(ListingJob::IfGone ifGone);
    void relisted(ListingJob& listed);
    void arrive(ListingJob& listed, const PanelState::Destination& destination, const MoveEnd& then);
    void standHere();
    void noteDamage();
    void listingEnded();
    bool openedAsFile(const ListingJob& listed, const PanelState::Destination& destination);
    bool wentToItsFolder(const ListingJob& listed, const PanelState::Destination& destination, const MoveEnd& then);
    bool reportedRefusal(const ListingJob& listed);
    void showReadingProgress(std::int64_t itemsRead);
    void stepThroughHistory(std::optional<std::string> (FolderHistory::*step)(),
        std::optional<std::string> (FolderHistory::*undo)());
    void followDisk();

    PanelState& m_state;
    PanelNavigatorScreen& m_screen;
    FolderWatcher* m_folderWatcher;
    ListingRunner* m_listing;
    std::optional<ListingJob::IfGone> m_relistAgain; // a relisting asked for while a listing was under way
    std::vector<std::function<void()>> m_whenListed;
    FolderHistory m_history;
};

} // namespace kiv
