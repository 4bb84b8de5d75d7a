#include "console/TerminalView.h"

#include "ScopedEnvironment.h"
#include "TerminalText.h"
#include "jobs/JobControl.h"
#include "jobs/JobThread.h"
#include "terminal/TerminalSession.h"
#include "toolkit/Theme.h"

#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

using namespace kiv;
using namespace kiv::test;

namespace {

const ScopedEnvironment plainShell("SHELL", "/bin/sh");

// One command's terminal drawn by the view, which the test looks at and types into.
class TerminalViewTest : public ::testing::Test
{
protected:
    void start(const std::string& line)
    {
        m_session = std::make_shared<TerminalSession>(line, "/", PseudoTerminal::Size { 6, 100 });
        m_view = std::make_unique<TerminalView>(m_session);
        m_view->resize(1000, 6 * TerminalView::rowHeight);
        m_view->show();
        m_thread = std::make_unique<JobThread>(m_session, std::make_shared<JobControl>(), nullptr);
    }
    std::string live() const
    {
        TerminalSnapshot snapshot;
        m_session->copyView(0, 0, snapshot);
        return terminalText(snapshot);
    }
    // The colour in the top left corner of cell (`row`, `column`) as drawn.
    QRgb colourAt(int row, int column)
    {
        const qreal cellWidth = QFontMetricsF(Theme::monoFont(12)).horizontalAdvance(QLatin1Char('M'));
        return m_view->grab().toImage().pixel(int(2 + column * cellWidth + 1), row * TerminalView::rowHeight + 1);
    }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
    {
        const QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        m_view->type(event);
    }

    std::shared_ptr<TerminalSession> m_session;
    std::unique_ptr<TerminalView> m_view;
    std::unique_ptr<JobThread> m_thread;
};

} // namespace

TEST_F(TerminalViewTest, CellsAreDrawnInTheirColoursAndTheCursorAsABlockInTheCursorBarsColours)
{
    start("printf '\\033[41mR\\033[0m\\377\\033[7mV\\033[0m'; read x");
    ASSERT_TRUE(QTest::qWaitFor([&] { return colourAt(1, 3) == Theme::cursorBackground().rgb(); }, 10'000));
    EXPECT_EQ(colourAt(1, 0), Theme::terminalColor(1).rgb()) << "a red background";
    EXPECT_EQ(colourAt(1, 1), Theme::panelText().rgb()) << "a byte that is not UTF-8: a reversed ?";
    EXPECT_EQ(colourAt(1, 2), Theme::panelText().rgb()) << "reversed";
    EXPECT_EQ(colourAt(1, 4), Theme::commandLineBackground().rgb());
}

TEST_F(TerminalViewTest, ShiftPageUpLooksBackAndTypingReturnsToTheLiveScreenWithTheKeyGivenToTheProgram)
{
    start("seq 30; read x; echo \"got $x\"");
    ASSERT_TRUE(QTest::qWaitFor([&] { return live().ends_with("\n30"); }, 10'000));
    const QKeyEvent pageUp(QEvent::KeyPress, Qt::Key_PageUp, Qt::ShiftModifier);
    const QKeyEvent plainPageUp(QEvent::KeyPress, Qt::Key_PageUp, Qt::NoModifier);
    EXPECT_TRUE(m_view->scrollFor(pageUp));
    EXPECT_FALSE(m_view->scrollFor(plainPageUp)) << "the program's key";
    EXPECT_EQ(m_view->linesBack(), 5u);
    EXPECT_EQ(terminalText(m_view->shown()), "21\n22\n23\n24\n25\n26");
    press(Qt::Key_Y, Qt::NoModifier, QStringLiteral("y"));
    EXPECT_EQ(m_view->linesBack(), 0u);
    press(Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_session->exitCode().has_value(); }, 10'000));
    EXPECT_TRUE(live().ends_with("\ngot y")) << live();
}
