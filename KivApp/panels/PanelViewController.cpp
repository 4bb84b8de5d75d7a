#include "panels/PanelViewController.h"

#include "base/PathString.h"
#include "doors/Door.h"
#include "panels/PanelColumnTitles.h"
#include "panels/PanelEditorCover.h"
#include "panels/PanelFrameView.h"
#include "panels/PanelListModel.h"
#include "panels/PanelNavigator.h"
#include "panels/PanelRowDelegate.h"
#include "panels/PanelTableView.h"
#include "panels/PanelViewControllerDelegate.h"
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
    , m_navigator(new PanelNavigator(m_state, *this, this))
{
    m_tableView->installEventFilter(this);
    m_rowView->setActivePanelCursor(m_isActive);
    m_tableView->setModel(m_model);
    m_tableView->setItemDelegate(m_rowView);
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
    m_navigator->reload();
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
    m_navigator->reload();
}

void PanelViewController::toggleHidden()
{
    setShowHidden(!m_state.showHidden());
}

void PanelViewController::replaceRows(const std::function<void()>& change)
{
    m_model->replaceRows(change);
}

void PanelViewController::showStatus(const QString& text)
{
    m_view->setStatus(text);
}

void PanelViewController::reportFailure(const std::exception& error, const PanelLocation& place)
{
    if (m_delegate)
        m_delegate->panelDidFailWithError(*this, error, place);
}

void PanelViewController::openFile(const std::string& realPath)
{
    if (m_delegate)
        m_delegate->panelDidOpenFile(*this, realPath);
}

void PanelViewController::goToServer(const std::string& url)
{
    if (m_delegate)
        m_delegate->panelWantsServer(*this, url);
}

void PanelViewController::showPlace()
{
    m_view->setPath(u' ' + ShownText::of(m_state.location().displayPath()) + u' ');
    m_view->titles()->setSortOrder(m_state.sortOrder());
    if (!m_state.entries().empty())
        m_tableView->moveSelection(std::min(static_cast<int>(m_state.cursorIndex()), lastRow(m_state)));
    updateStatusLine();
    if (m_delegate)
        m_delegate->panelDidChangeLocation(*this);
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
        m_navigator->moveTo(std::move(*destination));
        return;
    }
    const PanelLocation& here = m_state.location();
    const std::optional<std::string> file = here.door()->localPath(entry->id);
    if (entry->kind == FileEntry::Kind::regularFile && file)
        openFile(*file);
}

void PanelViewController::goToParent()
{
    if (m_state.entries().empty() || m_state.entries().front().kind != FileEntry::Kind::parentDirectory)
        return;
    m_navigator->moveTo(*m_state.destinationOf(m_state.entries().front()));
}

} // namespace kiv
