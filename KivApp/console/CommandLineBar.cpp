#include "console/CommandLineBar.h"

#include "console/CommandLineField.h"
#include "toolkit/RetroControls.h"
#include "toolkit/Theme.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QTextBoundaryFinder>

namespace kiv {

namespace {

constexpr int edgeGap = 2;
constexpr int longestShownPath = 40;

// Returns the offsets where the user-perceived characters of `text` start.
QList<qsizetype> characterStarts(const QString& text)
{
    QList<qsizetype> starts;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype at = 0; at >= 0 && at < text.size(); at = finder.toNextBoundary())
        starts.append(at);
    return starts;
}

// Counts characters as the user sees them, so an accented or combined letter is one, not two.
QString shownPath(const QString& path)
{
    const QList<qsizetype> starts = characterStarts(path);
    if (starts.size() <= longestShownPath)
        return path;
    const QString cutMark = QStringLiteral("...");
    return cutMark + path.mid(starts[starts.size() - (longestShownPath - cutMark.size())]);
}

void configureField(CommandLineField* field)
{
    field->setFont(Theme::monoFont(12));
    QPalette colors = field->palette();
    colors.setColor(QPalette::Base, Theme::commandLineBackground());
    colors.setColor(QPalette::Text, Theme::commandLineText());
    field->setPalette(colors);
    field->setFrame(false);
    field->setAttribute(Qt::WA_MacShowFocusRect, false);
}

} // namespace

CommandLineBar::CommandLineBar(QWidget* parent)
    : QWidget(parent)
    , m_promptLabel(RetroControls::label(
          "$ ", Theme::monoFont(12), Theme::commandLineText(), std::nullopt, Qt::AlignLeft, this))
    , m_field(new CommandLineField(this))
{
    configureField(m_field);
    // The prompt is as wide as its text, which the 40-character rule keeps short; the field the rest.
    m_promptLabel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(edgeGap, 0, edgeGap, 0);
    layout->setSpacing(edgeGap);
    layout->addWidget(m_promptLabel);
    layout->addWidget(m_field, 1);
}

void CommandLineBar::setPromptPath(const QString& path)
{
    m_promptLabel->setText(shownPath(path) + " $ ");
}

void CommandLineBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Theme::commandLineBackground());
}

} // namespace kiv
