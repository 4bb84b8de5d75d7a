#include "syncscreen/SyncDialog.h"

#include "toolkit/RetroChoiceView.h"
#include "toolkit/RetroPainting.h"
#include "toolkit/ShownText.h"
#include "toolkit/Theme.h"

#include <QKeyEvent>
#include <algorithm>

namespace kiv {

namespace {

constexpr int syncDialogWidth = 760;
constexpr int headingLines = 2;
constexpr int itemLines = 15;
constexpr int footLines = 3; // a blank line, the summary and the keys
constexpr int synchronizeChoice = 0;

using Action = SyncItem::Action;
using Difference = SyncItem::Difference;

QString sign(const SyncItem& item)
{
    switch (item.action) {
    case Action::copyToRight:
        return QStringLiteral(" →  ");
    case Action::copyToLeft:
        return QStringLiteral(" ←  ");
    case Action::deleteLeft:
    case Action::deleteRight:
        return QStringLiteral("del ");
    case Action::skip:
        break;
    }
    return item.difference == Difference::conflict || item.difference == Difference::unreadable
        ? QStringLiteral(" ≠  ")
        : QStringLiteral(" -  ");
}

QString differenceText(const SyncItem& item)
{
    switch (item.difference) {
    case Difference::leftOnly:
        return QStringLiteral("only left");
    case Difference::rightOnly:
        return QStringLiteral("only right");
    case Difference::leftNewer:
        return QStringLiteral("left newer");
    case Difference::rightNewer:
        return QStringLiteral("right newer");
    case Difference::conflict:
        return QStringLiteral("conflict");
    case Difference::unreadable:
        return QStringLiteral("unreadable: ") + ShownText::of(item.note);
    }
    return {};
}

QString actionText(Action action)
{
    switch (action) {
    case Action::copyToRight:
        return QStringLiteral("copy to the right");
    case Action::copyToLeft:
        return QStringLiteral("copy to the left");
    case Action::deleteLeft:
        return QStringLiteral("DELETE on the left");
    case Action::deleteRight:
        return QStringLiteral("DELETE on the right");
    case Action::skip:
        break;
    }
    return QStringLiteral("skip");
}

QString line(const SyncItem& item)
{
    const bool folder = (item.left && item.left->kind == SyncSide::Kind::folder)
        || (item.right && item.right->kind == SyncSide::Kind::folder);
    const QString path = ShownText::of(item.path) + (folder ? QStringLiteral("/") : QString());
    return sign(item) + path.leftJustified(52) + QStringLiteral(" %1: %2")
                                                       .arg(differenceText(item), actionText(item.action));
}

} // namespace

std::optional<std::vector<SyncItem>> SyncDialog::ask(
    QWidget* parent, const std::string& leftRoot, const std::string& rightRoot, std::vector<SyncItem> items)
{
    SyncDialog dialog(leftRoot, rightRoot, std::move(items), parent);
    if (parent) {
        const QRect around = parent->window()->frameGeometry();
        dialog.move(around.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}

SyncDialog::SyncDialog(
    const std::string& leftRoot, const std::string& rightRoot, std::vector<SyncItem> items, QWidget* parent)
    : QDialog(parent ? parent->window() : nullptr, Qt::Dialog | Qt::FramelessWindowHint)
    , m_items(std::move(items))
    , m_heading { QStringLiteral(" Left:  ") + ShownText::of(leftRoot),
        QStringLiteral(" Right: ") + ShownText::of(rightRoot) }
{
    m_face = new RetroChoiceView(QStringLiteral("Synchronize Folders"),
        { { QStringLiteral("Return Synchronize"), Qt::Key_Return },
            { QStringLiteral("Esc Cancel"), Qt::Key_Escape } },
        syncDialogWidth, headingLines + itemLines + footLines, this);
    m_face->onChoice = [this](int index) { index == synchronizeChoice ? accept() : reject(); };
    m_face->onOtherKey = [this](QKeyEvent* event) { handleKey(event); };
    setWindowTitle(QStringLiteral("Synchronize Folders"));
    setFixedSize(m_face->size());
    setModal(true);
    RetroPainting::setPaletteColor(*this, QPalette::Window, Theme::dialogBackground());
    refresh();
    m_face->setFocus();
}

std::vector<SyncItem> SyncDialog::chosen() const
{
    std::vector<SyncItem> chosen;
    std::copy_if(m_items.begin(), m_items.end(), std::back_inserter(chosen),
        [](const SyncItem& item) { return item.action != Action::skip; });
    return chosen;
}

QString SyncDialog::summary() const
{
    const auto count = [this](auto test) { return std::count_if(m_items.begin(), m_items.end(), test); };
    const auto deletions = count([](const SyncItem& item) {
        return item.action == Action::deleteLeft || item.action == Action::deleteRight;
    });
    return QStringLiteral(" %1 difference(s): %2 →, %3 ←, %4 deletion(s), %5 skipped")
        .arg(m_items.size())
        .arg(count([](const SyncItem& item) { return item.action == Action::copyToRight; }))
        .arg(count([](const SyncItem& item) { return item.action == Action::copyToLeft; }))
        .arg(deletions)
        .arg(count([](const SyncItem& item) { return item.action == Action::skip; }));
}

void SyncDialog::refresh()
{
    QStringList lines = m_heading;
    for (std::size_t index = m_top; index < m_items.size() && index < m_top + itemLines; ++index)
        lines << line(m_items[index]);
    while (lines.size() < headingLines + itemLines + 1)
        lines << QString();
    lines << summary()
          << QStringLiteral(" Space next choice  Right/> copy →  Left/< copy ←  S skip  Delete delete");
    m_face->setLines(lines, headingLines + int(m_cursor - m_top));
}

void SyncDialog::moveCursor(std::ptrdiff_t rows)
{
    if (m_items.empty())
        return;
    const auto last = std::ptrdiff_t(m_items.size()) - 1;
    m_cursor = std::size_t(std::clamp(std::ptrdiff_t(m_cursor) + rows, std::ptrdiff_t(0), last));
    if (m_cursor < m_top)
        m_top = m_cursor;
    else if (m_cursor >= m_top + itemLines)
        m_top = m_cursor + 1 - itemLines;
}

// An action the item does not offer (a copy from the side that lacks it) leaves it as it was.
void SyncDialog::choose(Action action)
{
    if (m_items.empty())
        return;
    SyncItem& item = m_items[m_cursor];
    const std::vector<Action> choices = item.choices();
    if (std::find(choices.begin(), choices.end(), action) != choices.end())
        item.action = action;
}

void SyncDialog::chooseDeletion()
{
    if (m_items.empty())
        return;
    const SyncItem& item = m_items[m_cursor];
    choose(item.left && !item.right ? Action::deleteLeft : Action::deleteRight);
}

void SyncDialog::handleKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        moveCursor(-1);
        break;
    case Qt::Key_Down:
        moveCursor(1);
        break;
    case Qt::Key_PageUp:
        moveCursor(-itemLines);
        break;
    case Qt::Key_PageDown:
        moveCursor(itemLines);
        break;
    case Qt::Key_Home:
        moveCursor(-std::ptrdiff_t(m_items.size()));
        break;
    case Qt::Key_End:
        moveCursor(std::ptrdiff_t(m_items.size()));
        break;
    case Qt::Key_Space:
        if (!m_items.empty())
            m_items[m_cursor].action = m_items[m_cursor].nextChoice();
        break;
    case Qt::Key_Right:
    case Qt::Key_Greater:
        choose(Action::copyToRight);
        break;
    case Qt::Key_Left:
    case Qt::Key_Less:
        choose(Action::copyToLeft);
        break;
    case Qt::Key_S:
        choose(Action::skip);
        break;
    case Qt::Key_Delete:
        chooseDeletion();
        break;
    default:
        return;
    }
    refresh();
}

} // namespace kiv
