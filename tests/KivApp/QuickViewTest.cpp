#include "ProgramTest.h"
#include "panels/QuickView.h"
#include "toolkit/RetroSplitView.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kiv;
using namespace kiv::test;

namespace {

// The left panel on "src": a text, a FIFO, a 4 GB file with nothing in it but its length, and a
// folder; the right panel on "dst".
class QuickViewTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        std::string many;
        for (int line = 1; line <= 400; ++line)
            many += "line " + std::to_string(line) + "\n";
        m_home.write("src/notes.txt", many);
        m_home.write("src/box/one.txt", "12345");
        m_home.write("src/box/deeper/two.txt", "1234567890");
        ::mkfifo((m_home / "src/pipe").c_str(), 0644);
        const int big = ::open((m_home / "src/big.bin").c_str(), O_CREAT | O_WRONLY, 0644);
        EXPECT_EQ(::ftruncate(big, 4LL << 30), 0);
        ::close(big);
        startProgram();
        left().goTo(m_home / "src");
        right().goTo(m_home.folder("dst"));
        waitForJobs();
    }

    void quickView() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::AltModifier); }
    QuickView* shown() { return root().findChild<QuickView*>(); }
    // Waits until the quick view shows a text with `part` in it.
    bool showsWith(const std::string& part)
    {
        return QTest::qWaitFor([&] { return shown() && shown()->shownText().toStdString().find(part) != std::string::npos; });
    }
};

} // namespace

// The view takes the other panel's place and follows the cursor: the first screen of a text, a
// FIFO never opened (the window would hang on it), a 4 GB file read no further than its start, a
// folder's counts; Alt+Q gives the panel back as it was, on its folder.
TEST_F(QuickViewTest, followsTheCursorWithBoundedReads)
{
    putCursorOn(left(), "notes.txt");
    quickView();
    ASSERT_TRUE(shown());
    EXPECT_FALSE(right().view()->isVisible());
    EXPECT_EQ(root().splitView()->indexOf(shown()), 1);
    EXPECT_TRUE(showsWith("line 1\nline 2\n"));
    EXPECT_TRUE(showsWith("text"));

    putCursorOn(left(), "pipe");
    EXPECT_TRUE(showsWith("A FIFO: never opened"));
    putCursorOn(left(), "big.bin");
    EXPECT_TRUE(showsWith("File, 4,294,967,296 bytes, binary: the first 16,384 bytes"));
    putCursorOn(left(), "box");
    EXPECT_TRUE(showsWith("2 files, 1 folders\n15 bytes"));
    EXPECT_NE(shown()->shownTitle().indexOf("box"), -1);

    quickView();
    EXPECT_FALSE(shown());
    EXPECT_TRUE(right().view()->isVisible());
    EXPECT_EQ(root().splitView()->indexOf(right().view()), 1);
    EXPECT_EQ(right().state().location().path(), m_home / "dst");
    EXPECT_TRUE(left().tableView()->hasFocus());
}

// Tab goes into the view, whose text scrolls with the viewer's keys, and back to the panel it
// follows; Alt+Q from inside gives the panel back and the keyboard to the list.
TEST_F(QuickViewTest, tabGoesIntoTheViewAndBack)
{
    putCursorOn(left(), "notes.txt");
    quickView();
    ASSERT_TRUE(showsWith("line 1\n"));
    QTest::keyClick(left().tableView(), Qt::Key_Tab);
    QWidget* text = QApplication::focusWidget();
    ASSERT_TRUE(shown()->isAncestorOf(text));
    QScrollBar* scroll = static_cast<QPlainTextEdit*>(text)->verticalScrollBar();
    QTest::keyClick(text, Qt::Key_PageDown);
    QTest::keyClick(text, Qt::Key_PageDown);
    EXPECT_GT(scroll->value(), 0);
    QTest::keyClick(text, Qt::Key_Tab);
    EXPECT_TRUE(left().tableView()->hasFocus());
    QTest::keyClick(left().tableView(), Qt::Key_Tab);
    quickView();
    EXPECT_FALSE(shown());
    EXPECT_TRUE(left().tableView()->hasFocus());
    QTest::keyClick(left().tableView(), Qt::Key_Tab);
    EXPECT_TRUE(right().tableView()->hasFocus());
}
