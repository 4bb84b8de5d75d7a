#include "commands/QuickViewCommands.h"

#include "base/PathString.h"
#include "doors/Door.h"
#include "panel/PanelLocation.h"
#include "panels/PanelFrameView.h"
#include "panels/PanelPair.h"
#include "panels/PanelTableView.h"
#include "panels/PanelViewController.h"
#include "panels/QuickView.h"
#include "toolkit/ShownText.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QSplitter>

namespace kiv {

QuickViewCommands::QuickViewCommands(CommandContext context, QSplitter& split, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_split(split)
{
}

QuickViewCommands::~QuickViewCommands()
{
    hide();
}

void QuickViewCommands::toggle(PanelViewController& panel)
{
    if (m_view)
        hide();
    else
        show(panel);
}

void QuickViewCommands::show(PanelViewController& followed)
{
    PanelViewController& covered = m_context.panels.other(followed);
    const int index = m_split.indexOf(covered.view());
    if (index < 0)
        return;
    m_view = new QuickView;
    // The panel leaves the split whole, with its rows, marks and listing, to come back as it was.
    m_split.replaceWidget(index, m_view);
    m_followed = &followed;
    m_covered = &covered;
    m_view->onTab = [this] {
        if (m_followed)
            m_followed->focus();
    };
    m_cursorMoves = connect(followed.tableView()->selectionModel(), &QItemSelectionModel::currentChanged, this,
        &QuickViewCommands::follow);
    follow();
    followed.focus();
}

void QuickViewCommands::hide()
{
    disconnect(m_cursorMoves);
    if (!m_view)
        return;
    const bool hadKeyboard = m_view->isAncestorOf(QApplication::focusWidget());
    if (m_covered) {
        m_split.replaceWidget(m_split.indexOf(m_view), m_covered->view());
        m_covered->view()->show();
    }
    delete m_view;
    if (hadKeyboard && m_followed)
        m_followed->focus();
}

QuickView* QuickViewCommands::quickView() const
{
    return m_view;
}

bool QuickViewCommands::takeKeyboardFrom(PanelViewController& panel)
{
    if (!m_view || m_followed != &panel)
        return false;
    m_view->focusText();
    return true;
}

void QuickViewCommands::follow()
{
    if (!m_view || !m_followed)
        return;
    const std::optional<FileEntry> item = m_followed->selectedEntry();
    if (!item) {
        m_view->showText(QString(), QStringLiteral("No item under the cursor."));
        return;
    }
    const QString name = ShownText::of(item->name);
    if (item->kind == FileEntry::Kind::parentDirectory) {
        m_view->showText(name, QStringLiteral("The folder above: Return goes up to it."));
        return;
    }
    const PanelLocation& place = m_followed->state().location();
    const std::optional<std::string> path
        = place.door()->localPath(PathString::appendingComponent(place.folder(), item->name));
    if (!path) {
        m_view->showText(name, QStringLiteral("Only items on this computer's disk are shown here; F3 views it."));
        return;
    }
    m_view->showItem(*path);
}

} // namespace kiv
