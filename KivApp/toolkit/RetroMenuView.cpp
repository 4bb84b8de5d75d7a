#include "toolkit/RetroMenuView.h"

#include "toolkit/RetroPainting.h"
#include "toolkit/Theme.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace kiv {

namespace {

constexpr int narrowestMenu = 150;
constexpr int emptyMenuTitleWidth = 100;
constexpr int separatorInset = 6;

int heightOf(const RetroMenuItem& item)
{
    return item.isSeparator ? RetroMenuView::separatorHeight : RetroMenuView::rowHeight;
}

} // namespace

RetroMenuView::RetroMenuView(std::vector<RetroMenuItem> items, QWidget* parent)
    : QWidget(parent)
    , m_items(std::move(items))
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    const QSize size = intrinsicSize();
    resize(size);
    layoutRows(size.width());
}

QFont RetroMenuView::menuFont()
{
    return Theme::monoFontBold(12);
}

QSize RetroMenuView::intrinsicSize() const
{
    const QFontMetricsF metrics(menuFont());
    qreal widest = m_items.empty() ? emptyMenuTitleWidth : 0;
    for (const RetroMenuItem& item : m_items)
        widest = std::max(widest, metrics.horizontalAdvance(item.title));
    const int width = std::max(narrowestMenu, static_cast<int>(std::ceil(widest)) + 2 * horizontalPadding);
    int height = 2 * verticalMargin;
    for (const RetroMenuItem& item : m_items)
        height += heightOf(item);
    return { width, height };
}

void RetroMenuView::layoutRows(int width)
{
    std::vector<Row> rows;
    int y = verticalMargin;
    for (const RetroMenuItem& item : m_items) {
        rows.push_back({ item, QRect(0, y, width, heightOf(item)) });
        y += heightOf(item);
    }
    m_rows = std::move(rows);
}

std::optional<int> RetroMenuView::rowIndex(QPoint point) const
{
    for (int index = 0; index < static_cast<int>(m_rows.size()); ++index)
        if (m_rows[index].frame.contains(point) && m_rows[index].item.isSelectable())
            return index;
    return std::nullopt;
}

void RetroMenuView::updateHighlight(QPoint point)
{
    setHighlightedRow(rowIndex(point));
}

void RetroMenuView::choose(int index)
{
    if (index < 0 || index >= static_cast<int>(m_rows.size()) || !m_rows[index].item.isSelectable())
        return;
    if (onChoose)
        onChoose(m_rows[index].item.action);
}

void RetroMenuView::moveHighlight(int delta)
{
    const std::vector<int> selectable = selectableRows();
    if (selectable.empty())
        return;
    const auto current = m_highlightedRow ? std::find(selectable.begin(), selectable.end(), *m_highlightedRow)
                                          : selectable.end();
    if (current == selectable.end()) {
        setHighlightedRow(delta > 0 ? selectable.front() : selectable.back());
        return;
    }
    const int count = static_cast<int>(selectable.size());
    const int position = static_cast<int>(current - selectable.begin());
    setHighlightedRow(selectable[(position + delta % count + count) % count]);
}

std::vector<int> RetroMenuView::selectableRows() const
{
    std::vector<int> selectable;
    for (int index = 0; index < static_cast<int>(m_rows.size()); ++index)
        if (m_rows[index].item.isSelectable())
            selectable.push_back(index);
    return selectable;
}

void RetroMenuView::setHighlightedRow(std::optional<int> row)
{
    if (row == m_highlightedRow)
        return;
    m_highlightedRow = row;
    update();
}

void RetroMenuView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect(), Theme::menuBarBackground());
    painter.setFont(menuFont());
    for (int index = 0; index < static_cast<int>(m_rows.size()); ++index)
        drawRow(painter, index);
    painter.setPen(QPen(Theme::popupFrame(), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void RetroMenuView::drawRow(QPainter& painter, int index) const
{
    const Row& row = m_rows[index];
    if (row.item.isSeparator) {
        const int middle = row.frame.top() + row.frame.height() / 2;
        painter.setPen(QPen(Theme::popupRule(), 1));
        painter.drawLine(separatorInset, middle, width() - separatorInset, middle);
        return;
    }
    if (m_highlightedRow == index && row.item.isSelectable())
        painter.fillRect(row.frame, Theme::menuHighlightBG());
    painter.setPen(row.item.action ? Theme::menuBarText() : Theme::menuDisabledText());
    const qreal textHeight = RetroPainting::measure(row.item.title, painter.font()).height();
    const QRectF textRect(horizontalPadding, row.frame.top() + (row.frame.height() - textHeight) / 2,
        row.frame.width() - 2 * horizontalPadding, textHeight);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, row.item.title);
    const qsizetype keyAt
        = row.item.key.isNull() ? -1 : row.item.title.indexOf(row.item.key, 0, Qt::CaseInsensitive);
    if (keyAt < 0 || !row.item.action)
        return;
    // The key letter drawn again over itself in the key colour.
    const qreal keyX = RetroPainting::measure(row.item.title.left(keyAt), painter.font()).width();
    painter.setPen(Theme::menuKeyText());
    painter.drawText(textRect.adjusted(keyX, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
        row.item.title.mid(keyAt, 1));
}

bool RetroMenuView::chooseByKey(const QString& typed)
{
    if (typed.size() != 1)
        return false;
    for (int index : selectableRows())
        if (m_rows[index].item.key.toCaseFolded() == typed[0].toCaseFolded()) {
            choose(index);
            return true;
        }
    return false;
}

void RetroMenuView::mouseMoveEvent(QMouseEvent* event)
{
    updateHighlight(event->position().toPoint());
}

void RetroMenuView::mousePressEvent(QMouseEvent* event)
{
    updateHighlight(event->position().toPoint());
}

void RetroMenuView::mouseReleaseEvent(QMouseEvent* event)
{
    // Releasing off an entry leaves the menu open, so a press can slide onto the wanted entry.
    if (const std::optional<int> index = rowIndex(event->position().toPoint()))
        choose(*index);
}

void RetroMenuView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Down:
        moveHighlight(1);
        break;
    case Qt::Key_Up:
        moveHighlight(-1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_highlightedRow)
            choose(*m_highlightedRow);
        break;
    case Qt::Key_Escape:
        if (onCancel)
            onCancel();
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (onSideStep)
            onSideStep(event->key() == Qt::Key_Left ? -1 : 1);
        break;
    default:
        if (chooseByKey(event->text()))
            break;
        // An open menu swallows every other key, so nothing behind it reacts.
        event->accept();
    }
}

} // namespace kiv
