#include "ProgramTest.h"
#include "console/CommandLineBar.h"
#include "console/CommandLineField.h"
#include "text/FileUriList.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

using namespace kiv;
using namespace kiv::test;

namespace {

// Files through the desktop's clipboard between the panels and other programs.
class ClipboardCommandsTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        m_home.write("src/two\nlines", "first");
        m_home.write("src/b.txt", "beta");
        m_home.write("src/c.txt", "gamma");
        startProgram();
        left().goTo(m_src);
        right().goTo(m_dst);
        waitForJobs();
    }

    // Presses Ctrl+`key` on `panel`'s list, answering its dialogs, and waits for its jobs.
    ShownDialogs control(PanelViewController& panel, Qt::Key key, std::vector<Answer> answers = {})
    {
        const ShownDialogs shown
            = answering(answers, [&] { QTest::keyClick(panel.tableView(), key, Qt::ControlModifier); });
        waitForJobs();
        return shown;
    }

    static std::string clipboard(const QString& type)
    {
        const QByteArray data = QGuiApplication::clipboard()->mimeData()->data(type);
        return data.toStdString();
    }

    // Puts `type` holding `text` on the clipboard, as another program would.
    static void offer(const QString& type, const std::string& text)
    {
        auto* data = new QMimeData;
        data->setData(type, QByteArray::fromStdString(text));
        QGuiApplication::clipboard()->setMimeData(data);
    }

    const std::string m_src = m_home.folder("src");
    const std::string m_dst = m_home.folder("dst");
};

} // namespace

TEST_F(ClipboardCommandsTest, CopyAndCutAreOfferedAsDesktopsReadThemAndPasteCopiesOrMovesAsAJob)
{
    putCursorOn(left(), "two\nlines");
    QTest::keyClick(left().tableView(), Qt::Key_Space);
    putCursorOn(left(), "b.txt");
    QTest::keyClick(left().tableView(), Qt::Key_Space);
    control(left(), Qt::Key_C);
    const std::vector<std::string> paths { m_src + "/b.txt", m_src + "/two\nlines" };
    EXPECT_EQ(clipboard("text/uri-list"), FileUriList::uriList(paths));
    EXPECT_EQ(clipboard("x-special/gnome-copied-files"), FileUriList::copiedFiles(paths, false));
    EXPECT_TRUE(left().state().markedNames().empty());

    control(right(), Qt::Key_V);
    EXPECT_EQ(readFile(m_home / "dst/two\nlines"), "first");
    EXPECT_EQ(readFile(m_home / "dst/b.txt"), "beta");
    EXPECT_TRUE(lists(left(), "two\nlines") && lists(left(), "b.txt"));
    // A copy stays on the clipboard: pasted again, its names are taken and the job asks; Esc
    // cancels it, which the status line tells.
    EXPECT_FALSE(control(right(), Qt::Key_V, { { Qt::Key_Escape, {} } }).empty());

    putCursorOn(left(), "c.txt");
    control(left(), Qt::Key_X);
    EXPECT_EQ(clipboard("x-special/gnome-copied-files"), "cut\nfile://" + m_src + "/c.txt");
    control(right(), Qt::Key_V);
    EXPECT_EQ(readFile(m_home / "dst/c.txt"), "gamma");
    EXPECT_FALSE(lists(left(), "c.txt"));
    // Its files are gone from where the clipboard named them: it names them no more.
    EXPECT_EQ(control(right(), Qt::Key_V, { ok }),
        ShownDialogs { notice("Paste", "The clipboard holds no files.") });

    // The line's own keys in the command line: no file is put on the clipboard there.
    offer("text/plain", "words");
    putCursorOn(left(), "b.txt");
    QTest::keyClick(root().commandLine()->field(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard("text/uri-list"), "");
}

TEST_F(ClipboardCommandsTest, APasteOfACutWhoseSourceVanishedLosesNothingAndOnlyLocalFilesArePasted)
{
    offer("x-special/gnome-copied-files", FileUriList::copiedFiles({ m_src + "/gone", m_src + "/b.txt" }, true));
    const ShownDialogs shown = control(right(), Qt::Key_V, { { Qt::Key_S, {} }, ok });
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].title, "Job Ended");
    EXPECT_NE(shown[0].message.find("gone"), std::string::npos) << shown[0].message;
    EXPECT_EQ(readFile(m_home / "dst/b.txt"), "beta");
    EXPECT_FALSE(lists(right(), "gone"));

    offer("text/uri-list", "https://example.org/x\r\nfile://elsewhere/etc/hosts\r\n");
    EXPECT_EQ(control(right(), Qt::Key_V, { ok }),
        ShownDialogs { notice("Paste", "The clipboard names no file of this machine.") });
    offer("text/uri-list", FileUriList::uriList({ m_src + "/c.txt" }));
    m_home.run("tar -czf src/pack.tgz -C src c.txt");
    left().reload();
    waitForJobs();
    putCursorOn(left(), "pack.tgz");
    QTest::keyClick(left().tableView(), Qt::Key_Return);
    waitForJobs();
    ASSERT_TRUE(left().state().location().isArchive());
    EXPECT_EQ(control(left(), Qt::Key_V, { ok }),
        ShownDialogs { notice("Paste", "Files are pasted only into a folder of this machine.") });
    putCursorOn(left(), "c.txt");
    EXPECT_EQ(control(left(), Qt::Key_C, { ok }).size(), 1u);
    EXPECT_EQ(clipboard("text/uri-list"), FileUriList::uriList({ m_src + "/c.txt" }));
}
