#include "toolkit/RetroChoiceView.h"

#include "toolkit/FittedText.h"
#include "toolkit/RetroDialogButton.h"
#include "toolkit/RetroDialogView.h"
#include "toolkit/RetroPainting.h"
#include "toolkit/Theme.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

namespace kiv {

namespace {

constexpr int padding = RetroDialogView::padding;

} // namespace

RetroChoiceView::RetroChoiceView(
    const QString& title, std::vector<Choice> choices, int width, int lineCount, QWidget* parent)
    : QWidget(parent)
    , m_title(title)
    , m_choices(std::move(choices))
    , m_lineCount(lineCount)
{
    setFocusPolicy(Qt::StrongFocus);
    for (std::size_t index = 0; index < m_choices.size(); ++index) {
        auto* button = new RetroDialogButton(m_choices[index].caption, ButtonTone::ordinary, this);
        button->setHighlighted(m_choices[index].key == Qt::Key_Return);
        button->onClick = [this, index] {
            if (onChoice)
                onChoice(int(index));
        };
        m_buttons.push_back(button);
    }
    m_linesTop = padding + RetroDialogView::titleBandHeight() + 6 + 10;
    layoutButtons(width);
}

int RetroChoiceView::textWidth(int width)
{
    return width - 2 * padding;
}

int RetroChoiceView::lineHeight() const
{
    return QFontMetrics(RetroDialogView::messageFont()).height();
}

// Buttons fill rows from the right, as the house dialogs place OK; a row that is full wraps.
void RetroChoiceView::layoutButtons(int width)
{
    std::vector<std::vector<RetroDialogButton*>> rows(1);
    int used = 0;
    for (RetroDialogButton* button : m_buttons) {
        const int needed = button->intrinsicWidth() + (rows.back().empty() ? 0 : RetroDialogView::buttonGap);
        if (!rows.back().empty() && used + needed > width - 2 * padding) {
            rows.emplace_back();
            used = 0;
        }
        used += button->intrinsicWidth() + (rows.back().empty() ? 0 : RetroDialogView::buttonGap);
        rows.back().push_back(button);
    }
    int y = m_linesTop + m_lineCount * lineHeight() + 12;
    for (const auto& row : rows) {
        int x = width - padding;
        for (auto it = row.rbegin(); it != row.rend(); ++it) {
            x -= (*it)->intrinsicWidth();
            (*it)->setGeometry(x, y, (*it)->intrinsicWidth(), RetroDialogButton::buttonHeight);
            x -= RetroDialogView::buttonGap;
        }
        y += RetroDialogButton::buttonHeight + 4;
    }
    resize(width, y - 4 + padding);
}

void RetroChoiceView::setLines(const QStringList& lines, int highlighted)
{
    if (lines == m_lines && highlighted == m_highlighted)
        return;
    m_lines = lines;
    m_highlighted = highlighted;
    update();
}

QRect RetroChoiceView::lineRect(int index) const
{
    return { padding - 2, m_linesTop + index * lineHeight(), width() - 2 * padding + 4, lineHeight() };
}

void RetroChoiceView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect(), Theme::dialogBackground());
    painter.setFont(RetroDialogView::titleFont());
    painter.setPen(Theme::dialogText());
    const qreal titleWidth = RetroPainting::measure(m_title, painter.font()).width();
    RetroPainting::drawLine(painter, m_title, { (width() - titleWidth) / 2, qreal(padding) });
    const int ruleY = padding + RetroDialogView::titleBandHeight() + 6;
    painter.setPen(QPen(Theme::popupRule(), 1));
    painter.drawLine(RetroDialogView::ruleInset, ruleY, width() - RetroDialogView::ruleInset, ruleY);

    const QFont font = RetroDialogView::messageFont();
    painter.setFont(font);
    const QFontMetrics metrics(font);
    for (int index = 0; index < m_lines.size() && index < m_lineCount; ++index) {
        const QRect band = lineRect(index);
        if (index == m_highlighted)
            painter.fillRect(band, Theme::cursorBackground());
        painter.setPen(index == m_highlighted ? Theme::cursorText() : Theme::dialogText());
        const QString shown = FittedText::line(m_lines[index], metrics, textWidth(width()));
        RetroPainting::drawLine(painter, shown, { qreal(padding), qreal(band.top()) });
    }
    painter.setPen(QPen(Theme::popupFrame(), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

void RetroChoiceView::keyPressEvent(QKeyEvent* event)
{
    for (std::size_t index = 0; index < m_choices.size(); ++index) {
        if (m_choices[index].key == event->key() && event->modifiers() == Qt::NoModifier) {
            if (onChoice)
                onChoice(int(index));
            return;
        }
    }
    if (onOtherKey)
        onOtherKey(event);
    else
        QWidget::keyPressEvent(event);
}

} // namespace kiv
