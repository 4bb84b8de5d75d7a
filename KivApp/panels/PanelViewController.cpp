#include "panels/PanelViewController.h"

#include "files/ExistingFolder.h"
#include "files/PathString.h"
#include "panels/FolderWatcher.h"
#include "panels/PanelColumnTitles.h"
#include "panels/PanelListModel.h"
#include "panels/PanelRowView.h"
#include "panels/PanelTableView.h"
#include "panels/PanelViewControllerDelegate.h"
#include "text/KivFormat.h"
#include "toolkit/BorderedPanel.h"
#include "toolkit/RetroControls.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/RetroMenu.h"
#include "toolkit/ShownText.h"
#include "toolkit/Weakly.h"
#include "viewer/PanelEditorView.h"

#include <QEvent>
#include <algorithm>

namespace kiv {

namespace {

constexpr int pathHeight = 18;
constexpr int headerHeight = 16;
constexpr int statusHeight = 16;
constexpr qreal statusFontSize = 11;
constexpr int menuIndent = 8;

int lastRow(const PanelState& state)
{
    return std::max(0, static_cast<int>(state.entries().size()) - 1);
}

} // namespace

PanelViewController::PanelViewController(const std::string& startPath, QObject* parent)
    : QObject(parent)
    , m_state(startPath)
    , m_view(new BorderedPanel)
    , m_pathLabel(RetroControls::label(
          {}, Theme::monoFontBold(), Theme::panelHeader(), Theme::panelHeaderBG(), Qt::AlignHCenter, m_view))
    , m_statusLabel(RetroControls::label(
          {}, Theme::monoFont(statusFontSize), Theme::panelHeader(), std::nullopt, Qt::AlignLeft, m_view))
    , m_tableView(new PanelTableView(m_view))
    , m_model(new PanelListModel(m_state, this))
    , m_rowView(new PanelRowView(m_state, this))
    , m_columnHeader(new PanelColumnTitles(*m_rowView, m_view))
    , m_folderWatcher(new FolderWatcher(this))
{
    // Named so that the window and its tests can tell the three lines apart.
    m_pathLabel->setObjectName(QStringLiteral("pathLabel"));
    m_columnHeader->setObjectName(QStringLiteral("columnHeader"));
    m_statusLabel->setObjectName(QStringLiteral("statusLabel"));
    m_view->installEventFilter(this);
    m_tableView->viewport()->installEventFilter(this);
    m_rowView->setActivePanelCursor(m_isActive);
    m_tableView->setModel(m_model);
    m_tableView->setItemDelegate(m_rowView);
    m_folderWatcher->onChange = weakly(this, &PanelViewController::followDisk);
    wireTable();
}

PanelViewController::~PanelViewController()
{
    delete m_view.data();
}

QWidget* PanelViewController::view() const
{
    return m_view;
}

PanelEditorView* PanelViewController::editorView() const
{
    return m_editorView;
}

void PanelViewController::wireTable()
{
    m_tableView->onToggleMark = weakly(this, &PanelViewController::toggleMark);
    m_tableView->onSelectGroup
        = weakly(this, [](PanelViewController& panel) { panel.selectGroup(PanelState::MarkChange::mark); });
    m_tableView->onUnselectGroup
        = weakly(this, [](PanelViewController& panel) { panel.selectGroup(PanelState::MarkChange::unmark); });
    m_tableView->onInvertMarks = weakly(this, &PanelViewController::invertMarks);
    m_tableView->onHistoryBack = weakly(this, &PanelViewController::goBack);
    m_tableView->onHistoryForward = weakly(this, &PanelViewController::goForward);
    m_tableView->onHistoryMenu = weakly(this, &PanelViewController::showHistoryMenu);
    m_tableView->onActivateSelection = weakly(this, &PanelViewController::activateSelection);
    m_tableView->onSwitchPanel = weakly(this, [](PanelViewController& panel) {
        if (panel.m_delegate)
            panel.m_delegate->panelRequestsSwitch(panel);
    });
    m_tableView->onGoToParent = weakly(this, &PanelViewController::goToParent);
    m_tableView->onBecameFirstResponder = weakly(this, [](PanelViewController& panel) {
        // A list under the editor is out of sight: the keys go on to the editor, and the panel
        // does not become active to act on rows nobody sees.
        if (panel.m_editorView)
            panel.m_editorView->focusEditor();
        else if (panel.m_delegate)
            panel.m_delegate->panelDidBecomeActive(panel);
    });
    connect(m_tableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &PanelViewController::selectionChanged);
    connect(m_tableView, &QAbstractItemView::doubleClicked, this, &PanelViewController::activateSelection);
}

bool PanelViewController::eventFilter(QObject* watched, QEvent* event)
{
    // The type first: while the view is being destroyed it still sends events here, and reading
    // the guarded pointer to a half-destroyed view is undefined.
    if (event->type() == QEvent::Resize && watched == m_view)
        layoutChildren();
    // The rows lay themselves out across the list's width, which shrinks when the scroll bar shows.
    if (event->type() == QEvent::Resize && watched == m_tableView->viewport())
        m_columnHeader->setRowWidth(m_tableView->viewport()->width());
    return QObject::eventFilter(watched, event);
}

void PanelViewController::layoutChildren()
{
    const int w = m_view->width();
    const int h = m_view->height();
    m_pathLabel->setGeometry(1, 1, w - 2, pathHeight);
    m_columnHeader->setGeometry(1, 1 + pathHeight, w - 2, headerHeight);
    const int listTop = 1 + pathHeight + headerHeight;
    // Whole rows only: what is left under the last one stays empty.
    const int listHeight = std::max(0, h - 1 - statusHeight - listTop);
    m_tableView->setGeometry(1, listTop, w - 2, listHeight - listHeight % PanelTableView::rowHeight);
    m_statusLabel->setGeometry(1, h - 1 - statusHeight, w - 2, statusHeight);
    if (m_editorView)
        m_editorView->setGeometry(m_view->rect());
}

void PanelViewController::setActive(bool active)
{
    m_isActive = active;
    m_rowView->setActivePanelCursor(active);
    redrawKeepingCursor();
}

void PanelViewController::reload()
{
    try {
        m_model->replaceRows([this] { m_state.refresh(); });
    } catch (const std::exception& error) {
        reportFailure(error);
    }
    syncUI();
}

bool PanelViewController::goTo(const std::string& path)
{
    return goTo(PanelLocation::filesystem(path), {});
}

bool PanelViewController::goTo(PanelLocation place, std::string_view cursorName)
{
    return moveTo([&] {
        m_state.goTo(std::move(place));
        m_state.placeCursorOn(cursorName);
        return true;
    });
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
    if (folder && !goTo(*folder))
        (m_history.*undo)();
}

void PanelViewController::showHistoryMenu()
{
    std::vector<RetroMenuItem> items;
    std::unordered_set<std::string> listed;
    const auto& folders = m_history.folders();
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
        if (!listed.insert(*folder).second)
            continue;
        items.push_back(RetroMenuItem::item(ShownText::of(*folder),
            weakly(this, [path = *folder](PanelViewController& panel) { panel.goTo(path); })));
    }
    RetroMenu::popUp(std::move(items), QPoint(menuIndent, 1 + pathHeight + headerHeight), m_view);
}

PanelSettings PanelViewController::settings() const
{
    return { m_state.location().nearestRealDirectory(), m_state.showHidden(), m_state.sortOrder(),
        m_history.folders() };
}

void PanelViewController::restore(const PanelSettings& settings)
{
    m_state.setShowHidden(settings.showHidden);
    m_state.setSortOrder(settings.sortOrder);
    m_history.restore(settings.history);
    if (!settings.folder.empty()) {
        try {
            m_model->replaceRows([&] { m_state.goTo(settings.folder); });
            syncUI();
            return;
        } catch (const std::exception&) {
            // Listed below where it was.
        }
    }
    reload();
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
    const std::optional<FileEntry> cursorRow = selectedEntry();
    m_state.setSortOrder(order);
    try {
        m_model->replaceRows([&] {
            m_state.refresh();
            if (cursorRow)
                m_state.placeCursorOn(cursorRow->name);
        });
    } catch (const std::exception& error) {
        reportFailure(error);
    }
    syncUI();
}

void PanelViewController::selectGroup(PanelState::MarkChange change)
{
    const bool marking = change == PanelState::MarkChange::mark;
    const auto answer = RetroDialogs::promptOr(m_view,
        marking ? QStringLiteral("Select group") : QStringLiteral("Unselect group"),
        QStringLiteral("Names like *.txt; *.md, a?c, [a-f]* (OK ignores case, Match case does not):"),
        QStringLiteral("*"), QStringLiteral("Match case"));
    if (!answer)
        return;
    const auto letterCase = answer->second == RetroDialogResponse::alternative
        ? NamePatterns::LetterCase::matched
        : NamePatterns::LetterCase::ignored;
    m_state.markMatching(NamePatterns(ShownText::bytesOf(answer->first), letterCase), change);
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

void PanelViewController::reportFailure(const std::exception& error)
{
    if (m_delegate)
        m_delegate->panelDidFailWithError(*this, error);
}

void PanelViewController::syncUI()
{
    watchLocation();
    m_pathLabel->setText(u' ' + ShownText::of(m_state.location().displayPath()) + u' ');
    m_columnHeader->setSortOrder(m_state.sortOrder());
    if (!m_state.location().isArchive())
        m_history.visit(m_state.location().path());
    if (!m_state.entries().empty())
        m_tableView->moveSelection(std::min(static_cast<int>(m_state.cursorIndex()), lastRow(m_state)));
    updateStatusLine();
    if (m_delegate)
        m_delegate->panelDidChangeLocation(*this);
}

void PanelViewController::watchLocation()
{
    // An archive is read once on entering; only real folders are followed.
    if (m_state.location().isArchive()) {
        m_folderWatcher->watch({}, {});
        return;
    }
    std::vector<std::string> files;
    for (const FileEntry& entry : m_state.entries()) {
        if (entry.kind == FileEntry::Kind::regularFile)
            files.push_back(entry.name);
    }
    m_folderWatcher->watch(m_state.location().path(), files);
}

void PanelViewController::followDisk()
{
    if (m_state.location().isArchive())
        return;
    const std::string folder = m_state.location().path();
    const std::string refuge = ExistingFolder::nearest(folder);
    if (refuge == folder) {
        reload();
        return;
    }
    goTo(refuge);
    if (m_state.location().path() == refuge)
        m_statusLabel->setText(u' ' + QStringLiteral("Folder gone: ") + ShownText::of(folder));
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
    m_statusLabel->setText(QLatin1Char(' ') + text);
}

void PanelViewController::updateStatusLine()
{
    if (m_state.markedNames().empty()) {
        m_statusLabel->setText(QStringLiteral(" %1 items").arg(m_state.entries().size()));
        return;
    }
    m_statusLabel->setText(QStringLiteral(" %1 marked, %2")
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
    if (m_editorView)
        m_editorView->focusEditor();
    else
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
    if (m_state.leadsSomewhere(*entry)) {
        enter(*entry);
        return;
    }
    const bool isFile
        = entry->kind == FileEntry::Kind::regularFile || entry->kind == FileEntry::Kind::symlink;
    if (isFile && !m_state.location().isArchive() && m_delegate)
        m_delegate->panelDidOpenFile(
            *this, *entry, PathString::appendingComponent(m_state.location().path(), entry->name));
}

void PanelViewController::goToParent()
{
    if (m_state.entries().empty() || m_state.entries().front().kind != FileEntry::Kind::parentDirectory)
        return;
    enter(m_state.entries().front());
}

void PanelViewController::enter(FileEntry entry)
{
    // `entry` is a copy: entering replaces the entries it came from.
    moveTo([&] { return m_state.activate(entry); });
}

bool PanelViewController::moveTo(const std::function<bool()>& move)
{
    // `move` lists the new place or throws with the state as it was; either way the rows change
    // only inside the model's reset.
    bool moved = false;
    try {
        m_model->replaceRows([&] { moved = move(); });
    } catch (const std::exception& error) {
        redrawKeepingCursor();
        reportFailure(error);
        return false;
    }
    if (moved)
        syncUI();
    else
        redrawKeepingCursor();
    return true;
}

void PanelViewController::presentEditor(const std::string& filePath)
{
    if (m_editorView) {
        if (!m_editorView->confirmClose())
            return;
        removeEditor();
    }
    m_editorView = new PanelEditorView(filePath, m_view);
    m_editorView->setGeometry(m_view->rect());
    m_editorView->onClose = weakly(this, &PanelViewController::dismissEditor);
    m_editorView->show();
    m_editorView->raise();
    m_editorView->focusEditor();
    m_tableView->setFocusPolicy(Qt::NoFocus); // out of the Tab chain while covered
}

void PanelViewController::saveInlineEditorIfPresent()
{
    if (m_editorView)
        m_editorView->save();
}

void PanelViewController::removeEditor()
{
    // Deleted later: the editor may still be inside its own key handler.
    m_editorView->hide();
    m_editorView->deleteLater();
    m_editorView = nullptr;
    m_tableView->setFocusPolicy(Qt::StrongFocus);
}

void PanelViewController::dismissEditor()
{
    if (!m_editorView)
        return;
    removeEditor();
    m_tableView->setFocus(Qt::OtherFocusReason);
}

} // namespace kiv
