#include "panels/PanelViewController.h"

#include "files/PathString.h"
#include "panels/PanelListModel.h"
#include "panels/PanelRowText.h"
#include "panels/PanelRowView.h"
#include "panels/PanelTableView.h"
#include "panels/PanelViewControllerDelegate.h"
#include "text/KivFormat.h"
#include "toolkit/BorderedPanel.h"
#include "toolkit/RetroControls.h"
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
    , m_columnHeader(RetroControls::label(PanelRowText::columnHeader(), Theme::monoFontBold(),
          Theme::panelHeaderBG(), std::nullopt, Qt::AlignLeft, m_view))
    , m_statusLabel(RetroControls::label(
          {}, Theme::monoFont(statusFontSize), Theme::panelHeader(), std::nullopt, Qt::AlignLeft, m_view))
    , m_tableView(new PanelTableView(m_view))
    , m_model(new PanelListModel(m_state, this))
    , m_rowView(new PanelRowView(this))
{
    // Named so that the window and its tests can tell the three lines apart.
    m_pathLabel->setObjectName(QStringLiteral("pathLabel"));
    m_columnHeader->setObjectName(QStringLiteral("columnHeader"));
    m_statusLabel->setObjectName(QStringLiteral("statusLabel"));
    m_view->installEventFilter(this);
    m_rowView->setActivePanelCursor(m_isActive);
    m_tableView->setModel(m_model);
    m_tableView->setItemDelegate(m_rowView);
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
    m_tableView->onActivateSelection = weakly(this, &PanelViewController::activateSelection);
    m_tableView->onSwitchPanel = weakly(this, [](PanelViewController& panel) {
        if (panel.m_delegate)
            panel.m_delegate->panelRequestsSwitch(panel);
    });
    m_tableView->onGoToParent = weakly(this, &PanelViewController::goToParent);
    m_tableView->onBecameFirstResponder = weakly(this, [](PanelViewController& panel) {
        if (panel.m_delegate)
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
    return QObject::eventFilter(watched, event);
}

void PanelViewController::layoutChildren()
{
    const int w = m_view->width();
    const int h = m_view->height();
    m_pathLabel->setGeometry(1, 1, w - 2, pathHeight);
    m_columnHeader->setGeometry(1, 1 + pathHeight, w - 2, headerHeight);
    const int listTop = 1 + pathHeight + headerHeight;
    m_tableView->setGeometry(1, listTop, w - 2, h - 1 - statusHeight - listTop);
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

void PanelViewController::goTo(const std::string& path)
{
    moveTo([&] {
        m_state.goTo(path);
        return true;
    });
}

void PanelViewController::setMarks(std::unordered_set<std::string> names)
{
    m_state.setMarkedNames(std::move(names));
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
    m_pathLabel->setText(u' ' + ShownText::of(m_state.location().displayPath()) + u' ');
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
    if (entry->kind == FileEntry::Kind::regularFile || entry->kind == FileEntry::Kind::symlink) {
        if (m_state.location().isArchive() || !m_delegate)
            return;
        m_delegate->panelDidOpenFile(
            *this, *entry, PathString::appendingComponent(m_state.location().path(), entry->name));
        return;
    }
    enter(*entry);
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

void PanelViewController::moveTo(const std::function<bool()>& move)
{
    // `move` lists the new place or throws with the state as it was; either way the rows change
    // only inside the model's reset.
    bool moved = false;
    try {
        m_model->replaceRows([&] { moved = move(); });
    } catch (const std::exception& error) {
        redrawKeepingCursor();
        reportFailure(error);
        return;
    }
    if (moved)
        syncUI();
    else
        redrawKeepingCursor();
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
}

void PanelViewController::dismissEditor()
{
    if (!m_editorView)
        return;
    removeEditor();
    m_tableView->setFocus(Qt::OtherFocusReason);
}

} // namespace kiv
