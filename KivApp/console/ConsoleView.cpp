#include "console/ConsoleView.h"

#include "console/TerminalView.h"
#include "jobs/JobControl.h"
#include "jobs/JobThread.h"
#include "jobscreen/WorkerLink.h"
#include "terminal/TerminalSession.h"
#include "text/KivFormat.h"
#include "toolkit/RetroControls.h"
#include "toolkit/Theme.h"

#include <QKeyEvent>
#include <QPainter>

namespace kiv {

namespace {

constexpr int barHeight = 18;

bool isModifierOnly(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
        return true;
    default:
        return false;
    }
}

bool isShowPanelsKey(const QKeyEvent& event)
{
    return event.key() == Qt::Key_O && (event.modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
}

} // namespace

ConsoleView::ConsoleView(QWidget* parent)
    : QWidget(parent)
    , m_bar(RetroControls::label(QString(), Theme::monoFontBold(11), Theme::commandLineBackground(),
          Theme::commandLineText(), Qt::AlignCenter, this))
    , m_link(new WorkerLink(this))
{
    setFocusPolicy(Qt::StrongFocus);
}

ConsoleView::~ConsoleView()
{
    // The command's thread ends before the view it would show.
    m_thread.reset();
}

void ConsoleView::start(const std::string& line, const std::string& folder)
{
    const QSize terminalSize(width(), std::max(0, height() - barHeight));
    m_session = std::make_shared<TerminalSession>(line, folder, TerminalView::gridFor(terminalSize));
    m_terminal = new TerminalView(m_session, this);
    m_terminal->setGeometry(0, barHeight, terminalSize.width(), terminalSize.height());
    m_terminal->onUpdate = [this] { showState(); };
    m_terminal->show();
    // Told even while the console is hidden: the panels are relisted when the command ends.
    m_thread = std::make_unique<JobThread>(m_session, std::make_shared<JobControl>(),
        m_link->relay<const JobOutcome&>([this](const JobOutcome&) { commandEnded(); }));
    showState();
}

void ConsoleView::commandEnded()
{
    m_ended = true;
    showState();
    if (onEnd)
        onEnd();
}

void ConsoleView::showState()
{
    QString text;
    if (m_terminal && m_terminal->linesBack() > 0)
        text = QStringLiteral(" %1 lines up in the scrollback: Shift+PageDown goes down ")
                   .arg(QString::fromStdString(KivFormat::grouped(std::int64_t(m_terminal->linesBack()))));
    else if (m_ended)
        text = QStringLiteral(" Press any key to return to Tavrin ");
    else
        text = QStringLiteral(" Running: every key goes to the program; Ctrl+O shows the panels ");
    m_bar->setText(text);
}

void ConsoleView::resizeEvent(QResizeEvent*)
{
    m_bar->setGeometry(0, 0, width(), barHeight);
    if (m_terminal)
        m_terminal->setGeometry(0, barHeight, width(), std::max(0, height() - barHeight));
}

void ConsoleView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Theme::commandLineBackground());
}

void ConsoleView::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    if (isModifierOnly(event->key()) || (m_terminal && m_terminal->scrollFor(*event)))
        return;
    if (m_ended) {
        if (onDismiss)
            onDismiss();
    } else if (isShowPanelsKey(*event)) {
        if (onHide)
            onHide();
    } else if (m_terminal) {
        m_terminal->type(*event);
    }
}

void ConsoleView::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (m_ended && onDismiss)
        onDismiss();
}

bool ConsoleView::focusNextPrevChild(bool)
{
    // Tab is a key like any other here: it must reach keyPressEvent instead of moving focus.
    return false;
}

} // namespace kiv
