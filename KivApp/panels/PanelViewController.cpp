#include "panels/PanelViewController.h"

#include "archives/ArchiveDoor.h"
#include "base/PathString.h"
#include "doors/Door.h"
#include "panels/FolderWatcher.h"
#include "panels/ListingRunner.h"
#include "panels/PanelColumnTitles.h"
#include "panels/PanelEditorCover.h"
#include "panels/PanelFrameView.h"
#include "panels/PanelListModel.h"
#include "panels/PanelRowDelegate.h"
#include "panels/PanelTableView.h"
#include "panels/PanelViewControllerDelegate.h"
#include "remote/RemotePlace.h"
#include "text/KivFormat.h"
#include "toolkit/ShownText.h"
#include "toolkit/Weakly.h"

#include <QDropEvent>
#include <QEvent>
#include <algorithm>

namespace kiv {

namespace {

int lastRow(const PanelState& state)
{
    return std::max(0, static_cast<int>(state.entries().size()) - 1);
}

} // namespace

PanelViewController::PanelViewController(const std::string& startPath, QObject* parent)
    : PanelViewController(PanelLocation::filesystem(startPath), parent)
{
}

PanelViewController::PanelViewController(PanelLocation start, QObject* parent)
    : QObject(parent)
    , m_state(std::move(start))
    , m_model(new PanelListModel(m_state, this))
    , m_rowView(new PanelRowDelegate(m_state, this))
    , m_view(new PanelFrameView(*m_rowView))
    , m_tableView(m_view->list())
    , m_editor(new PanelEditorCover(*m_view, this))
    , m_folderWatcher(new FolderWatcher(this))
    , m_listing(new ListingRunner(this))
{
    m_tableView->installEventFilter(this);
    m_rowView->setActivePanelCursor(m_isActive);
    m_tableView->setModel(m_model);
    m_tableView->setItemDelegate(m_rowView);
    m_folderWatcher->onChange = weakly(this, &PanelViewController::followDisk);
    m_listing->onProgress = weakly(this, &PanelViewController::showReadingProgress);
    wireTable();
}

PanelViewController::~PanelViewController()
{
    delete m_view.data();
}

PanelFrameView* PanelViewController::view() const
{
    return m_view;
}

PanelEditorView* PanelViewController::editorView() const
{
    return m_editor->editor();
}

void PanelViewController::wireTable()
{
    m_tableView->onToggleMark = weakly(this, &PanelViewController::toggleMark);
    m_tableView->onBecameFirstResponder = weakly(this, [](PanelViewController& panel) {
        // A list under the editor is out of sight: the keys go on to the editor, and the panel
        // does not become active to act on rows nobody sees.
        if (!panel.m_editor->focusEditor() && panel.m_delegate)
            panel.m_delegate->panelDidBecomeActive(panel);
    });
    connect(m_tableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &PanelViewController::selectionChanged);
    connect(m_tableView, &QAbstractItemView::doubleClicked, this, &PanelViewController::activateSelection);
    m_tableView->onDragStart = weakly(this, &PanelViewController::dragFrom);
    m_tableView->onDrop = weakly(this, &PanelViewController::dropOn);
}

const FileEntry* PanelViewController::entryAt(int row) const
{
    const std::vector<FileEntry>& rows = m_state.entries();
    return row >= 0 && std::size_t(row) < rows.size() ? &rows[std::size_t(row)] : nullptr;
}

void PanelViewController::dragFrom(int row)
{
    const FileEntry* entry = entryAt(row);
    if (entry && entry->kind != FileEntry::Kind::parentDirectory && m_delegate)
        m_delegate->panelWantsDrag(*this);
}

// Onto a folder row the items go into that folder; anywhere else, ".." too, into the panel's own.
void PanelViewController::dropOn(const QDropEvent& event, int row)
{
    const FileEntry* entry = entryAt(row);
    const std::string folderRow
        = entry && entry->kind == FileEntry::Kind::directory ? entry->name : std::string();
    const bool move = event.dropAction() == Qt::MoveAction || event.modifiers().testFlag(Qt::ShiftModifier);
    if (m_delegate)
        m_delegate->panelDidReceiveDrop(*this, *event.mimeData(), move, folderRow);
}

bool PanelViewController::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched == m_tableView && !m_notice.isEmpty()) {
        m_notice.clear();
        updateStatusLine();
    }
    return QObject::eventFilter(watched, event);
}

void PanelViewController::setActive(bool active)
{
    m_isActive = active;
    m_rowView->setActivePanelCursor(active);
    redrawKeepingCursor();
}

void PanelViewController::reload()
{
    relist(ListingJob::IfGone::refuse);
}

void PanelViewController::relist(ListingJob::IfGone ifGone)
{
    // The listing under way may have read the folder before the change this relisting is for.
    if (m_listing->isBusy()) {
        // Following the disk outweighs a plain relisting: a folder gone is left either way.
        if (m_relistAgain != ListingJob::IfGone::nearestFolder)
            m_relistAgain = ifGone;
        return;
    }
    m_listing->start(m_state.listingOf(m_state.location(), ifGone),
        weakly(this, [](PanelViewController& panel, ListingJob& listed) { panel.relisted(listed); }));
}

void PanelViewController::relisted(ListingJob& listed)
{
    if (listed.listed() != listed.place()) {
        const QString gone = ShownText::of(listed.place().path());
        arrive(listed, { listed.listed(), {} }, [this, gone](bool arrived) {
            if (arrived)
                showNotice(QStringLiteral("Folder gone: ") + gone);
        });
        return;
    }
    if (!reportedRefusal(listed))
        m_model->replaceRows([&] { m_state.acceptRelisting(listed); });
    syncUI();
    listingEnded();
}

void PanelViewController::goTo(const std::string& path, MoveEnd then)
{
    // A server's address is never a path of this machine.
    if (RemotePlace::looksRemote(path)) {
        if (m_delegate)
            m_delegate->panelWantsServer(*this, path);
        return;
    }
    goTo(m_state.realFolder(path), {}, std::move(then));
}

void PanelViewController::goTo(PanelLocation place, std::string_view cursorName, MoveEnd then)
{
    moveTo({ std::move(place), std::string(cursorName) }, std::move(then));
}

// The listing finds out whether it is a folder, on the worker: a look from here could hang on a
// dead mount.
void PanelViewController::goToItem(const std::string& path)
{
    moveTo({ m_state.realFolder(path), {}, PanelState::Destination::AtAFile::showInItsFolder });
}

void PanelViewController::moveTo(PanelState::Destination destination, MoveEnd then)
{
    // A relisting of the place being left is moot: the move lists with the settings of now.
    m_relistAgain.reset();
    auto job = m_state.listingOf(destination.place);
    m_listing->start(std::move(job),
        weakly(this,
            [destination = std::move(destination), then = std::move(then)](
                PanelViewController& panel, ListingJob& listed) { panel.arrive(listed, destination, then); }));
}

void PanelViewController::arrive(
    ListingJob& listed, const PanelState::Destination& destination, const MoveEnd& then)
{
    if (wentToItsFolder(listed, destination, then))
        return;
    const bool arrived = !openedAsFile(listed, destination) && !reportedRefusal(listed);
    if (arrived) {
        m_model->replaceRows([&] { m_state.acceptMove(listed, destination.cursorName); });
        syncUI();
        noteDamage();
    } else {
        redrawKeepingCursor();
    }
    if (then)
        then(arrived);
    listingEnded();
}

// An archive damaged part way lists what came before the damage; the status line says where it broke.
void PanelViewController::noteDamage()
{
    const auto* archive = dynamic_cast<const ArchiveDoor*>(m_state.location().door().get());
    if (archive && !archive->damage().empty())
        showNotice(ShownText::of(archive->damage()));
}

void PanelViewController::listingEnded()
{
    if (const auto again = std::exchange(m_relistAgain, std::nullopt))
        relist(*again);
    if (m_listing->isBusy())
        return;
    for (const auto& waiter : std::exchange(m_whenListed, {}))
        waiter();
}

// A link that leads to no folder is opened as the file it names, as a file's row would be.
bool PanelViewController::openedAsFile(const ListingJob& listed, const PanelState::Destination& destination)
{
    if (destination.atAFile != PanelState::Destination::AtAFile::open || !listed.refusedAsNoFolder())
        return false;
    const PanelLocation& link = destination.place;
    if (m_delegate && link.door()->localPath(link.folder()))
        m_delegate->panelDidOpenFile(*this, *link.door()->localPath(link.folder()));
    return true;
}

bool PanelViewController::wentToItsFolder(
    const ListingJob& listed, const PanelState::Destination& destination, const MoveEnd& then)
{
    if (destination.atAFile != PanelState::Destination::AtAFile::showInItsFolder || !listed.refusedAsNoFolder())
        return false;
    const std::string& path = destination.place.path();
    moveTo({ m_state.realFolder(PathString::parentOrRoot(path)), PathString::lastComponent(path) }, then);
    return true;
}

bool PanelViewController::reportedRefusal(const ListingJob& listed)
{
    if (!listed.refusal())
        return false;
    try {
        std::rethrow_exception(listed.refusal());
    } catch (const std::exception& error) {
        reportFailure(error, listed.place());
    }
    return true;
}

void PanelViewController::stopListing()
{
    m_relistAgain.reset();
    if (m_listing->stop())
        updateStatusLine();
    listingEnded();
}

void PanelViewController::whenListed(std::function<void()> then)
{
    if (m_listing->isBusy())
        m_whenListed.push_back(std::move(then));
    else
        then();
}

bool PanelViewController::isListing() const
{
    return m_listing->isBusy();
}

void PanelViewController::showReadingProgress(std::int64_t itemsRead)
{
    m_view->setStatus(
        QStringLiteral(" Reading... %1 items").arg(QString::fromStdString(KivFormat::grouped(itemsRead))));
}

void PanelViewController::goBack()
{
    stepThroughHistory(&FolderHistory::back, &FolderHistory::forward);
}

void PanelViewController::goForward()
{
    stepThroughHistory(&FolderHistory::forward, &FolderHistory::back);
}

void PanelViewController::stepThroughHistory(
    std::optional<std::string> (FolderHistory::*step)(), std::optional<std::string> (FolderHistory::*undo)())
{
    // The history moves first, so that arriving there records nothing new; a folder that can no
    // longer be listed moves it back.
    const std::optional<std::string> folder = (m_history.*step)();
    if (folder)
        goTo(*folder, weakly(this, [undo](PanelViewController& panel, bool arrived) {
            if (!arrived)
                (panel.m_history.*undo)();
        }));
}

PanelSettings PanelViewController::settings() const
{
    // A folder still being read (a slow mount at the start) is where the panel goes: kept as such.
    const ListingJob* underWay = m_listing->underWay();
    const PanelLocation& place = underWay ? underWay->place() : m_state.location();
    return { place.address(), m_state.showHidden(), m_state.sortOrder(), m_history.folders() };
}

void PanelViewController::restore(const PanelSettings& settings, std::string_view cursorName, MoveEnd then)
{
    m_listing->stop();
    m_state.setShowHidden(settings.showHidden);
    m_state.setSortOrder(settings.sortOrder);
    m_history.restore(settings.history);
    // Read on a worker, so that the window shows at once even with a folder on a dead mount.
    m_view->setStatus(QStringLiteral(" Reading..."));
    const PanelLocation here = m_state.location();
    if (settings.folder.empty() || RemotePlace::looksRemote(settings.folder)) {
        goTo(here, {});
        // The server is connected to as a job.
        if (!settings.folder.empty() && m_delegate)
            m_delegate->panelWantsServer(*this, settings.folder);
        return;
    }
    m_relistAgain.reset();
    const auto listing = m_state.listingOf(m_state.realFolder(settings.folder), ListingJob::IfGone::nearestFolder);
    m_listing->start(listing,
        weakly(this,
            [here, cursor = std::string(cursorName), then = std::move(then)](
                PanelViewController& panel, ListingJob& listed) {
                // A folder gone since is no error: the nearest one still there is listed instead,
                // or the current place when not even that can be.
                if (listed.refusal())
                    panel.goTo(here, {});
                else
                    panel.arrive(listed, { listed.place(), cursor }, then);
            }));
}

void PanelViewController::setMarks(std::unordered_set<std::string> names)
{
    m_state.setMarkedNames(std::move(names));
    m_model->restyleAllRows();
    updateStatusLine();
}

void PanelViewController::showFolderSize(const std::string& path, std::int64_t bytes)
{
    // Rows are named from the panel's folder: a found folder's name is a path from it.
    const PanelLocation& location = m_state.location();
    const std::string prefix = PathString::appendingComponent(location.path(), "");
    if (location.isArchive() || !path.starts_with(prefix))
        return;
    m_state.setFolderSize(path.substr(prefix.size()), bytes);
    m_model->restyleAllRows();
    updateStatusLine();
}

void PanelViewController::chooseSortKey(SortOrder::Key key)
{
    setSortOrder(m_state.sortOrder().chosen(key));
}

void PanelViewController::setSortOrder(SortOrder order)
{
    // The relisting keeps the cursor on its row's name.
    m_state.setSortOrder(order);
    reload();
}

void PanelViewController::markMatching(const NamePatterns& patterns, PanelState::MarkChange change)
{
    m_state.markMatching(patterns, change);
    m_model->restyleAllRows();
    updateStatusLine();
}

void PanelViewController::invertMarks()
{
    m_state.invertMarks();
    m_model->restyleAllRows();
    updateStatusLine();
}

void PanelViewController::setShowHidden(bool show)
{
    m_state.setShowHidden(show);
    reload();
}

void PanelViewController::toggleHidden()
{
    setShowHidden(!m_state.showHidden());
}

void PanelViewController::reportFailure(const std::exception& error, const PanelLocation& place)
{
    if (m_delegate)
        m_delegate->panelDidFailWithError(*this, error, place);
}

void PanelViewController::syncUI()
{
    watchLocation();
    m_view->setPath(u' ' + ShownText::of(m_state.location().displayPath()) + u' ');
    m_view->titles()->setSortOrder(m_state.sortOrder());
    if (!m_state.location().isArchive())
        m_history.visit(m_state.location().address());
    if (!m_state.entries().empty())
        m_tableView->moveSelection(std::min(static_cast<int>(m_state.cursorIndex()), lastRow(m_state)));
    updateStatusLine();
    if (m_delegate)
        m_delegate->panelDidChangeLocation(*this);
}

void PanelViewController::watchLocation()
{
    // An archive is read once on entering; only folders of this machine are followed.
    const PanelLocation& place = m_state.location();
    const bool followed = !place.isArchive() && !place.isRemote();
    m_folderWatcher->watch(followed ? place.path() : std::string(), m_state.entries());
}

void PanelViewController::followDisk()
{
    // A panel on its way elsewhere has no use for the folder it leaves.
    const ListingJob* underWay = m_listing->underWay();
    if (m_state.location().isArchive() || m_state.location().isRemote()
        || (underWay && underWay->place() != m_state.location()))
        return;
    // Whether the folder is still there is asked on the worker too: the disk may not answer.
    relist(ListingJob::IfGone::nearestFolder);
}

void PanelViewController::redrawKeepingCursor()
{
    m_tableView->viewport()->update();
    const auto cursor = m_state.cursorIndex();
    if (cursor >= 0 && cursor < static_cast<int>(m_state.entries().size()))
        m_tableView->setCurrentIndex(m_model->index(static_cast<int>(cursor)));
}

void PanelViewController::showNotice(const QString& text)
{
    m_notice = text;
    updateStatusLine();
}

void PanelViewController::updateStatusLine()
{
    if (!m_notice.isEmpty()) {
        m_view->setStatus(QLatin1Char(' ') + m_notice);
        return;
    }
    if (m_state.markedNames().empty()) {
        m_view->setStatus(QStringLiteral(" %1 items").arg(m_state.entries().size()));
        return;
    }
    m_view->setStatus(QStringLiteral(" %1 marked, %2")
                               .arg(m_state.selectionForOperation().size())
                               .arg(QString::fromStdString(KivFormat::humanSize(m_state.totalMarkedSize()))));
}

void PanelViewController::selectionChanged()
{
    const int row = m_tableView->selectedRow();
    if (row >= 0)
        m_state.setCursorIndex(row);
}

void PanelViewController::focus()
{
    if (!m_editor->focusEditor())
        m_tableView->setFocus(Qt::OtherFocusReason);
}

std::optional<FileEntry> PanelViewController::selectedEntry() const
{
    const int row = m_tableView->selectedRow();
    if (row < 0 || row >= static_cast<int>(m_state.entries().size()))
        return std::nullopt;
    return m_state.entries()[static_cast<std::size_t>(row)];
}

void PanelViewController::toggleMark()
{
    const int row = m_tableView->selectedRow();
    if (row < 0)
        return;
    m_state.toggleMark(row);
    m_model->restyleRow(row);
    m_state.setCursorIndex(std::min(row + 1, lastRow(m_state)));
    redrawKeepingCursor();
    updateStatusLine();
}

void PanelViewController::activateSelection()
{
    const std::optional<FileEntry> entry = selectedEntry();
    if (!entry)
        return;
    if (auto destination = m_state.destinationOf(*entry)) {
        moveTo(std::move(*destination));
        return;
    }
    const PanelLocation& here = m_state.location();
    const std::optional<std::string> file = here.door()->localPath(entry->id);
    if (entry->kind == FileEntry::Kind::regularFile && file && m_delegate)
        m_delegate->panelDidOpenFile(*this, *file);
}

void PanelViewController::goToParent()
{
    if (m_state.entries().empty() || m_state.entries().front().kind != FileEntry::Kind::parentDirectory)
        return;
    moveTo(*m_state.destinationOf(m_state.entries().front()));
}

} // namespace kiv
