#include "panels/PanelNavigator.h"

#include "archives/ArchiveDoor.h"
#include "base/PathString.h"
#include "doors/Door.h"
#include "panels/FolderWatcher.h"
#include "panels/ListingRunner.h"
#include "panels/PanelNavigatorScreen.h"
#include "remote/RemotePlace.h"
#include "text/KivFormat.h"
#include "toolkit/ShownText.h"
#include "toolkit/Weakly.h"

namespace kiv {

PanelNavigator::PanelNavigator(PanelState& state, PanelNavigatorScreen& screen, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_screen(screen)
    , m_folderWatcher(new FolderWatcher(this))
    , m_listing(new ListingRunner(this))
{
    m_folderWatcher->onChange = weakly(this, &PanelNavigator::followDisk);
    m_listing->onProgress = weakly(this, &PanelNavigator::showReadingProgress);
}

void PanelNavigator::reload()
{
    relist(ListingJob::IfGone::refuse);
}

void PanelNavigator::relist(ListingJob::IfGone ifGone)
{
    // The listing under way may have read the folder before the change this relisting is for.
    if (m_listing->isBusy()) {
        // Following the disk outweighs a plain relisting: a folder gone is left either way.
        if (m_relistAgain != ListingJob::IfGone::nearestFolder)
            m_relistAgain = ifGone;
        return;
    }
    m_listing->start(m_state.listingOf(m_state.location(), ifGone),
        weakly(this, [](PanelNavigator& navigator, ListingJob& listed) { navigator.relisted(listed); }));
}

void PanelNavigator::relisted(ListingJob& listed)
{
    if (listed.listed() != listed.place()) {
        const QString gone = ShownText::of(listed.place().path());
        arrive(listed, { listed.listed(), {} }, [this, gone](bool arrived) {
            if (arrived)
                m_screen.showNotice(QStringLiteral("Folder gone: ") + gone);
        });
        return;
    }
    if (!reportedRefusal(listed))
        m_screen.replaceRows([&] { m_state.acceptRelisting(listed); });
    standHere();
    listingEnded();
}

void PanelNavigator::goTo(const std::string& path, MoveEnd then)
{
    // A server's address is never a path of this machine.
    if (RemotePlace::looksRemote(path)) {
        m_screen.goToServer(path);
        return;
    }
    goTo(m_state.realFolder(path), {}, std::move(then));
}

void PanelNavigator::goTo(PanelLocation place, std::string_view cursorName, MoveEnd then)
{
    moveTo({ std::move(place), std::string(cursorName) }, std::move(then));
}

// The listing finds out whether it is a folder, on the worker: a look from here could hang on a
// dead mount.
void PanelNavigator::goToItem(const std::string& path)
{
    moveTo({ m_state.realFolder(path), {}, PanelState::Destination::AtAFile::showInItsFolder });
}

void PanelNavigator::moveTo(PanelState::Destination destination, MoveEnd then)
{
    // A relisting of the place being left is moot: the move lists with the settings of now.
    m_relistAgain.reset();
    auto job = m_state.listingOf(destination.place);
    m_listing->start(std::move(job),
        weakly(this,
            [destination = std::move(destination), then = std::move(then)](
                PanelNavigator& navigator, ListingJob& listed) { navigator.arrive(listed, destination, then); }));
}

void PanelNavigator::arrive(
    ListingJob& listed, const PanelState::Destination& destination, const MoveEnd& then)
{
    if (wentToItsFolder(listed, destination, then))
        return;
    const bool arrived = !openedAsFile(listed, destination) && !reportedRefusal(listed);
    if (arrived) {
        m_screen.replaceRows([&] { m_state.acceptMove(listed, destination.cursorName); });
        standHere();
        noteDamage();
    } else {
        m_screen.redrawKeepingCursor();
    }
    if (then)
        then(arrived);
    listingEnded();
}

// An archive damaged part way lists what came before the damage; the status line says where it broke.
void PanelNavigator::noteDamage()
{
    const auto* archive = dynamic_cast<const ArchiveDoor*>(m_state.location().door().get());
    if (archive && !archive->damage().empty())
        m_screen.showNotice(ShownText::of(archive->damage()));
}

void PanelNavigator::listingEnded()
{
    if (const auto again = std::exchange(m_relistAgain, std::nullopt))
        relist(*again);
    if (m_listing->isBusy())
        return;
    for (const auto& waiter : std::exchange(m_whenListed, {}))
        waiter();
}

// A link that leads to no folder is opened as the file it names, as a file's row would be.
bool PanelNavigator::openedAsFile(const ListingJob& listed, const PanelState::Destination& destination)
{
    if (destination.atAFile != PanelState::Destination::AtAFile::open || !listed.refusedAsNoFolder())
        return false;
    const PanelLocation& link = destination.place;
    if (const std::optional<std::string> file = link.door()->localPath(link.folder()))
        m_screen.openFile(*file);
    return true;
}

bool PanelNavigator::wentToItsFolder(
    const ListingJob& listed, const PanelState::Destination& destination, const MoveEnd& then)
{
    if (destination.atAFile != PanelState::Destination::AtAFile::showInItsFolder || !listed.refusedAsNoFolder())
        return false;
    const std::string& path = destination.place.path();
    moveTo({ m_state.realFolder(PathString::parentOrRoot(path)), PathString::lastComponent(path) }, then);
    return true;
}

bool PanelNavigator::reportedRefusal(const ListingJob& listed)
{
    if (!listed.refusal())
        return false;
    try {
        std::rethrow_exception(listed.refusal());
    } catch (const std::exception& error) {
        m_screen.reportFailure(error, listed.place());
    }
    return true;
}

void PanelNavigator::stopListing()
{
    m_relistAgain.reset();
    if (m_listing->stop())
        m_screen.updateStatusLine();
    listingEnded();
}

void PanelNavigator::whenListed(std::function<void()> then)
{
    if (m_listing->isBusy())
        m_whenListed.push_back(std::move(then));
    else
        then();
}

bool PanelNavigator::isListing() const
{
    return m_listing->isBusy();
}

void PanelNavigator::showReadingProgress(std::int64_t itemsRead)
{
    m_screen.showStatus(
        QStringLiteral(" Reading... %1 items").arg(QString::fromStdString(KivFormat::grouped(itemsRead))));
}

void PanelNavigator::goBack()
{
    stepThroughHistory(&FolderHistory::back, &FolderHistory::forward);
}

void PanelNavigator::goForward()
{
    stepThroughHistory(&FolderHistory::forward, &FolderHistory::back);
}

void PanelNavigator::stepThroughHistory(
    std::optional<std::string> (FolderHistory::*step)(), std::optional<std::string> (FolderHistory::*undo)())
{
    // The history moves first, so that arriving there records nothing new; a folder that can no
    // longer be listed moves it back.
    const std::optional<std::string> folder = (m_history.*step)();
    if (folder)
        goTo(*folder, weakly(this, [undo](PanelNavigator& navigator, bool arrived) {
            if (!arrived)
                (navigator.m_history.*undo)();
        }));
}

PanelSettings PanelNavigator::settings() const
{
    // A folder still being read (a slow mount at the start) is where the panel goes: kept as such.
    const ListingJob* underWay = m_listing->underWay();
    const PanelLocation& place = underWay ? underWay->place() : m_state.location();
    return { place.address(), m_state.showHidden(), m_state.sortOrder(), m_history.folders() };
}

void PanelNavigator::restore(const PanelSettings& settings, std::string_view cursorName, MoveEnd then)
{
    m_listing->stop();
    m_state.setShowHidden(settings.showHidden);
    m_state.setSortOrder(settings.sortOrder);
    m_history.restore(settings.history);
    // Read on a worker, so that the window shows at once even with a folder on a dead mount.
    m_screen.showStatus(QStringLiteral(" Reading..."));
    const PanelLocation here = m_state.location();
    if (settings.folder.empty() || RemotePlace::looksRemote(settings.folder)) {
        goTo(here, {});
        // The server is connected to as a job.
        if (!settings.folder.empty())
            m_screen.goToServer(settings.folder);
        return;
    }
    m_relistAgain.reset();
    const auto listing = m_state.listingOf(m_state.realFolder(settings.folder), ListingJob::IfGone::nearestFolder);
    m_listing->start(listing,
        weakly(this,
            [here, cursor = std::string(cursorName), then = std::move(then)](
                PanelNavigator& navigator, ListingJob& listed) {
                // A folder gone since is no error: the nearest one still there is listed instead,
                // or the current place when not even that can be.
                if (listed.refusal())
                    navigator.goTo(here, {});
                else
                    navigator.arrive(listed, { listed.place(), cursor }, then);
            }));
}

// The place is followed and remembered before the screen shows it.
void PanelNavigator::standHere()
{
    // An archive is read once on entering; only folders of this machine are followed.
    const PanelLocation& place = m_state.location();
    const bool followed = !place.isArchive() && !place.isRemote();
    m_folderWatcher->watch(followed ? place.path() : std::string(), m_state.entries());
    if (!place.isArchive())
        m_history.visit(place.address());
    m_screen.showPlace();
}

void PanelNavigator::followDisk()
{
    // A panel on its way elsewhere has no use for the folder it leaves.
    const ListingJob* underWay = m_listing->underWay();
    if (m_state.location().isArchive() || m_state.location().isRemote()
        || (underWay && underWay->place() != m_state.location()))
        return;
    // Whether the folder is still there is asked on the worker too: the disk may not answer.
    relist(ListingJob::IfGone::nearestFolder);
}

} // namespace kiv
