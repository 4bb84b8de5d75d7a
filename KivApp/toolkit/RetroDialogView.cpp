#include "toolkit/RetroDialogView.h"

#include "toolkit/RetroControls.h"
#include "toolkit/RetroDialogButton.h"
#include "toolkit/RetroPainting.h"
#include "toolkit/RetroScrollBar.h"
#include "toolkit/Theme.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <vector>

namespace kiv {

namespace {

constexpr int fieldHeight = 24;
constexpr int fieldGap = 12;
constexpr int listingLinesShown = 24;
constexpr int listingMargin = 4;
// What a listing adds to its lines' width and height: the document margins and the edge.
constexpr int listingFrame = 2 * listingMargin + 2;

// Wraps at word boundaries, but a path longer than a line still breaks rather than overflows.
qreal layOutWrapped(QTextLayout& layout, qreal width)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(width);
        line.setPosition({ 0, y });
        y += line.height();
    }
    layout.endLayout();
    return y;
}

QString withLineSeparators(QString text)
{
    return text.replace(QLatin1Char('\n'), QChar::LineSeparator);
}

} // namespace

RetroDialogView::RetroDialogView(const QString& title, const QString& message, const RetroDialogStyle& style,
    const QString& okTitle, ButtonTone okTone, QWidget* parent)
    : QWidget(parent)
    , m_titleText(title)
    , m_messageText(message)
    , m_style(style)
{
    setFocusPolicy(Qt::StrongFocus);
    if (m_style.hasField())
        createTextField(m_style.defaultValue);
    if (m_style.kind == RetroDialogStyle::Kind::listing)
        createListing(message);
    m_okButton = createButton(okTitle, okTone, &RetroDialogView::onOK);
    if (m_style.hasCancel())
        m_cancelButton
            = createButton(QStringLiteral("Cancel"), ButtonTone::ordinary, &RetroDialogView::onCancel);
    if (m_style.hasAlternative())
        m_alternativeButton
            = createButton(m_style.alternativeTitle, ButtonTone::ordinary, &RetroDialogView::onAlternative);
    m_chosenButton = m_okButton;
    m_okButton->setHighlighted(true);
    resize(intrinsicSize());
    layoutSubviews();
}

RetroDialogButton* RetroDialogView::createButton(
    const QString& title, ButtonTone tone, std::function<void()> RetroDialogView::*callback)
{
    auto* button = new RetroDialogButton(title, tone, this);
    // Looked up when clicked: the owner sets the callbacks after the face is built.
    button->onClick = [this, callback] {
        if (const auto& call = this->*callback)
            call();
    };
    return button;
}

void RetroDialogView::createTextField(const QString& defaultValue)
{
    m_textField = RetroControls::field(defaultValue, this);
    if (m_style.hidesTyping)
        m_textField->setEchoMode(QLineEdit::NoEcho);
    // Typing at once replaces the suggested text, as in a native field that takes focus.
    m_textField->selectAll();
    m_textField->installEventFilter(this);
}

void RetroDialogView::createListing(const QString& lines)
{
    m_listing = new QPlainTextEdit(lines, this);
    m_listing->setFont(messageFont());
    m_listing->setReadOnly(true);
    m_listing->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_listing->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_listing->setFrameShape(QFrame::NoFrame);
    m_listing->document()->setDocumentMargin(listingMargin);
    m_listing->setVerticalScrollBar(new RetroScrollBar(m_listing));
    m_listing->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RetroPainting::setPaletteColor(*m_listing, QPalette::Text, Theme::dialogText());
    RetroPainting::setPaletteColor(*m_listing, QPalette::Base, Theme::dialogBackground());
}

// As wide as the longest line, so none wraps, and as high as the lines up to a screenful, both
// within the bounds; a line wider than the bounds wraps.
QSize RetroDialogView::listingSize() const
{
    const QStringList lines = m_messageText.split(u'\n');
    const QFontMetrics metrics(messageFont());
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    int shown = std::min(int(lines.size()), listingLinesShown);
    const QSize bounds = m_style.bounds;
    if (!bounds.isEmpty())
        shown
            = std::clamp((bounds.height() - chromeHeight() - listingFrame) / metrics.lineSpacing(), 1, shown);
    const int scrollBar = int(lines.size()) > shown ? RetroScrollBar::thickness : 0;
    int width = widest + listingFrame + scrollBar;
    if (!bounds.isEmpty())
        width = std::min(width, bounds.width() - 2 * padding);
    return { width, shown * metrics.lineSpacing() + listingFrame };
}

int RetroDialogView::listingColumns(int windowWidth)
{
    // Measured over many characters: one character's width is a fraction of a pixel off.
    constexpr int sample = 100;
    const qreal characterWidth
        = QFontMetricsF(messageFont()).horizontalAdvance(QString(sample, u'M')) / sample;
    const int text = windowWidth - 2 * padding - listingFrame - RetroScrollBar::thickness;
    return std::max(1, int(text / characterWidth));
}

QFont RetroDialogView::messageFont()
{
    return Theme::monoFont(12);
}

QFont RetroDialogView::titleFont()
{
    return Theme::monoFontBold(13);
}

int RetroDialogView::titleBandHeight()
{
    return titleFont().pixelSize() + 4;
}

int RetroDialogView::wrappedMessageHeight(const QString& message)
{
    if (message.isEmpty())
        return 0;
    QTextLayout layout(withLineSeparators(message), messageFont());
    return static_cast<int>(std::ceil(layOutWrapped(layout, contentWidth)));
}

// Everything but the message: title, rule, gaps, field and buttons.
int RetroDialogView::chromeHeight() const
{
    int height = padding + titleBandHeight() + 6 + 8 + 12;
    if (m_style.hasField())
        height += fieldHeight + fieldGap;
    return height + RetroDialogButton::buttonHeight + padding;
}

QSize RetroDialogView::intrinsicSize() const
{
    const int height
        = chromeHeight() + (m_listing ? listingSize().height() : wrappedMessageHeight(m_messageText));
    const int width = m_listing ? std::max(contentWidth, listingSize().width()) : contentWidth;
    return { width + 2 * padding, std::max(110, height) };
}

QWidget* RetroDialogView::fieldForFirstResponder()
{
    if (m_textField)
        return m_textField;
    if (m_listing)
        return m_listing;
    return this;
}

QString RetroDialogView::textFieldValue() const
{
    return m_textField ? m_textField->text() : QString();
}

void RetroDialogView::resizeEvent(QResizeEvent*)
{
    layoutSubviews();
}

void RetroDialogView::layoutSubviews()
{
    const int width = this->width();
    if (width <= 0)
        return;
    m_titleRect = QRect(padding, padding, width - 2 * padding, titleBandHeight());
    m_separatorY = m_titleRect.height() + 6 + padding;
    int y = m_separatorY + 8;
    const int messageHeight = m_listing ? listingSize().height() : wrappedMessageHeight(m_messageText);
    m_messageRect = QRect(padding, y, width - 2 * padding, messageHeight);
    if (m_listing)
        m_listing->setGeometry(m_messageRect);
    y += m_messageRect.height() + 12;
    if (m_textField) {
        m_textField->setGeometry(padding, y, width - 2 * padding, fieldHeight);
        y += fieldHeight + fieldGap;
    }
    const int okWidth = m_okButton->intrinsicWidth();
    const int okX = width - padding - okWidth;
    m_okButton->setGeometry(okX, y, okWidth, RetroDialogButton::buttonHeight);
    int left = okX;
    for (RetroDialogButton* button : { m_cancelButton, m_alternativeButton }) {
        if (!button)
            continue;
        const int buttonWidth = button->intrinsicWidth();
        left -= buttonWidth + buttonGap;
        button->setGeometry(left, y, buttonWidth, RetroDialogButton::buttonHeight);
    }
}

void RetroDialogView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect(), Theme::dialogBackground());
    drawTitle(painter);
    painter.setPen(QPen(Theme::popupRule(), 1));
    painter.drawLine(ruleInset, m_separatorY, width() - ruleInset, m_separatorY);
    if (!m_messageText.isEmpty() && !m_listing) {
        QTextLayout layout(withLineSeparators(m_messageText), messageFont());
        layOutWrapped(layout, m_messageRect.width());
        painter.setPen(Theme::dialogText());
        layout.draw(&painter, m_messageRect.topLeft());
    }
    if (m_textField) {
        painter.setPen(QPen(Theme::dialogFieldEdge(), 1));
        painter.drawRect(m_textField->geometry().adjusted(-1, -1, 0, 0));
    }
    drawFrame(painter);
}

void RetroDialogView::drawTitle(QPainter& painter) const
{
    // Centred on the whole face and never clipped to the title band, like a line of a text screen.
    const QFont font = titleFont();
    painter.setFont(font);
    painter.setPen(Theme::dialogText());
    const qreal titleWidth = RetroPainting::measure(m_titleText, font).width();
    RetroPainting::drawLine(painter, m_titleText, { (width() - titleWidth) / 2, qreal(m_titleRect.top()) });
}

void RetroDialogView::drawFrame(QPainter& painter) const
{
    painter.setPen(QPen(Theme::popupFrame(), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

// The input field leaves Return, Enter and Escape unhandled, so they arrive here from it too.
void RetroDialogView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_chosenButton->onClick)
            m_chosenButton->onClick();
        break;
    case Qt::Key_Left:
        chooseOtherButton(-1);
        break;
    case Qt::Key_Right:
        chooseOtherButton(1);
        break;
    case Qt::Key_Escape:
        if (onCancel)
            onCancel();
        break;
    default:
        if (isAlternativeKey(*event) && onAlternative)
            onAlternative();
        else
            QWidget::keyPressEvent(event);
    }
}

// The field would type Alt and a letter as the letter: the alternative's key is taken before it.
bool RetroDialogView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_textField && event->type() == QEvent::KeyPress
        && isAlternativeKey(static_cast<const QKeyEvent&>(*event)) && onAlternative) {
        onAlternative();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool RetroDialogView::isAlternativeKey(const QKeyEvent& event) const
{
    if (!m_alternativeButton)
        return false;
    const QChar letter = m_style.alternativeTitle.at(0).toLower();
    // A field takes letters as text, so a prompt answers to the letter only with Alt.
    if (m_textField)
        return event.modifiers().testFlag(Qt::AltModifier)
            && QChar(char16_t(event.key())).toLower() == letter;
    return !event.text().isEmpty() && event.text().at(0).toLower() == letter;
}

// Tab comes here from the field too: it stays in the dialog, and in a prompt it stays in the field
// so that what is typed next is never lost.
bool RetroDialogView::focusNextPrevChild(bool next)
{
    chooseOtherButton(next ? 1 : -1);
    return true;
}

// Nothing to choose in a prompt, whose field keeps Left and Right, or with a single button. The
// buttons stand alternative, Cancel, OK from left to right; the choice wraps around.
void RetroDialogView::chooseOtherButton(int step)
{
    if (m_textField || !m_cancelButton)
        return;
    std::vector<RetroDialogButton*> buttons;
    for (RetroDialogButton* button : { m_alternativeButton, m_cancelButton, m_okButton })
        if (button)
            buttons.push_back(button);
    const auto from = std::ptrdiff_t(std::find(buttons.begin(), buttons.end(), m_chosenButton) - buttons.begin());
    const auto count = std::ptrdiff_t(buttons.size());
    m_chosenButton = buttons[std::size_t(((from + step) % count + count) % count)];
    for (RetroDialogButton* button : buttons)
        button->setHighlighted(button == m_chosenButton);
}

} // namespace kiv
