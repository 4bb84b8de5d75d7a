#include "ProgramTest.h"
#include "text/FileUriList.h"

#include <QCoreApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>

using namespace kiv;
using namespace kiv::test;

namespace {

// Files dragged out of the panels and dropped on them by other programs.
class DragDropCommandsTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        m_home.write("out/two\nlines", "first");
        m_home.write("out/100% sure", "percent");
        m_home.write("out/moved.txt", "moving");
        m_home.write("src/b.txt", "beta");
        m_home.write("src/a\nb%41", "alpha");
        m_home.folder("src/deeper");
        m_home.folder("dst/inner");
        startProgram();
        left().goTo(m_src);
        right().goTo(m_dst);
        waitForJobs();
    }

    // Drops `uriList` on `panel`'s row `name` (below the rows when empty) as another program would
    // with `actions` and `modifiers`, answers the dialogs and waits for the jobs. Returns what the
    // dialogs showed; `reported` is the action the source is told of.
    ShownDialogs drop(PanelViewController& panel, const std::string& name, const std::string& uriList,
        std::vector<Answer> answers = {}, Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction,
        Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QMimeData data;
        data.setData(QStringLiteral("text/uri-list"), QByteArray::fromStdString(uriList));
        PanelTableView* list = panel.tableView();
        const QPoint point = name.empty() ? QPoint(4, list->viewport()->height() - 4) : centreOf(panel, name);
        const ShownDialogs shown = answering(answers, [&] {
            // Qt hands a drop to the widget that took the drag as it entered.
            QDragEnterEvent enter(point, actions, &data, Qt::LeftButton, modifiers);
            QCoreApplication::sendEvent(list->viewport(), &enter);
            QDropEvent event(point, actions, &data, Qt::LeftButton, modifiers);
            QCoreApplication::sendEvent(list->viewport(), &event);
            m_reported = event.dropAction();
            QCoreApplication::processEvents(); // the drop is handled once it has ended
        });
        waitForJobs();
        return shown;
    }

    static QPoint centreOf(PanelViewController& panel, const std::string& name)
    {
        const int row = rowOf(panel, name);
        EXPECT_GE(row, 0) << name;
        return panel.tableView()->visualRect(panel.tableView()->model()->index(row, 0)).center();
    }

    // Sends the left button's `type` at `point` of `panel`'s list.
    static void mouse(PanelViewController& panel, QEvent::Type type, QPoint point)
    {
        QWidget* viewport = panel.tableView()->viewport();
        QMouseEvent event(type, point, viewport->mapToGlobal(point),
            type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &event);
    }

    std::string uris(const std::vector<std::string>& names) const
    {
        std::vector<std::string> paths;
        for (const std::string& name : names)
            paths.push_back(m_out + "/" + name);
        return FileUriList::uriList(paths);
    }

    const std::string m_out = m_home.path() + "/out";
    const std::string m_src = m_home.folder("src");
    const std::string m_dst = m_home.folder("dst");
    Qt::DropAction m_reported = Qt::IgnoreAction;
};

} // namespace

TEST_F(DragDropCommandsTest, DroppedFilesAreCopiedIntoThePanelsFolderOrTheFolderRowTheyFellOn)
{
    EXPECT_TRUE(drop(right(), "", uris({ "two\nlines", "100% sure" })).empty());
    EXPECT_EQ(readFile(m_dst + "/two\nlines"), "first");
    EXPECT_EQ(readFile(m_dst + "/100% sure"), "percent");
    EXPECT_EQ(readFile(m_out + "/two\nlines"), "first");
    EXPECT_EQ(m_reported, Qt::CopyAction);

    drop(right(), "inner", uris({ "moved.txt" }));
    EXPECT_EQ(readFile(m_dst + "/inner/moved.txt"), "moving");
    EXPECT_FALSE(lists(right(), "moved.txt"));
    // ".." is no way out of the panel's folder: what falls on it stays in the folder shown.
    drop(right(), "..", uris({ "moved.txt" }));
    EXPECT_TRUE(lists(right(), "moved.txt"));
    EXPECT_FALSE(std::filesystem::exists(m_home.path() + "/moved.txt"));

    // Between the panels, as F5 does: the names taken are asked about.
    const std::string fromLeft = FileUriList::uriList({ m_src + "/b.txt" });
    EXPECT_TRUE(drop(right(), "", fromLeft).empty());
    EXPECT_EQ(readFile(m_dst + "/b.txt"), "beta");
    const ShownDialogs again = drop(right(), "", fromLeft, { { Qt::Key_S, {} } });
    ASSERT_EQ(again.size(), 1u);
    EXPECT_NE(again[0].message.find("b.txt"), std::string::npos) << again[0].message;
}

TEST_F(DragDropCommandsTest, RefusedDropsSayWhyAndChangeNothing)
{
    EXPECT_EQ(drop(left(), "b.txt", FileUriList::uriList({ m_src + "/b.txt" }), { ok }),
        ShownDialogs { notice("Drop", "b.txt is already in " + m_src + ".") });
    EXPECT_EQ(drop(left(), "deeper", FileUriList::uriList({ m_src }), { ok }, Qt::MoveAction),
        ShownDialogs { notice(
            "Drop", "Cannot move the folder " + m_src + " into itself or into one of its own subfolders.") });
    EXPECT_EQ(drop(right(), "", "https://example.org/x\r\nfile://" + m_out + "/moved.txt\r\n", { ok }),
        ShownDialogs {
            notice("Drop", "Only files of this machine can be dropped here, not https://example.org/x.") });
    EXPECT_FALSE(lists(right(), "moved.txt"));

    m_home.run("tar -czf src/pack.tgz -C src b.txt");
    left().reload();
    waitForJobs();
    putCursorOn(left(), "pack.tgz");
    QTest::keyClick(left().tableView(), Qt::Key_Return);
    waitForJobs();
    ASSERT_TRUE(left().state().location().isArchive());
    EXPECT_EQ(drop(left(), "", uris({ "moved.txt" }), { ok }),
        ShownDialogs { notice("Drop", "Dropping files into an archive is not supported.") });
    EXPECT_EQ(readFile(m_out + "/moved.txt"), "moving");
}

TEST_F(DragDropCommandsTest, AMoveAsksFirstAndAMoveWhoseSourceVanishedLosesNothing)
{
    const ShownDialog asked = question("Move", "Move 1 item(s) to " + m_dst + "?");
    EXPECT_EQ(drop(right(), "", uris({ "moved.txt" }), { { Qt::Key_Escape, {} } },
                  Qt::CopyAction | Qt::MoveAction, Qt::ShiftModifier),
        ShownDialogs { asked });
    EXPECT_EQ(readFile(m_out + "/moved.txt"), "moving");
    EXPECT_FALSE(lists(right(), "moved.txt"));

    // The drop's own move action moves too; the source never hears of a move, so it deletes nothing.
    const ShownDialogs shown
        = drop(right(), "", uris({ "gone", "moved.txt" }), { ok, { Qt::Key_S, {} }, ok }, Qt::MoveAction);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], question("Move", "Move 2 item(s) to " + m_dst + "?"));
    EXPECT_NE(shown[1].message.find("gone"), std::string::npos) << shown[1].message;
    EXPECT_EQ(shown[2].title, "Job Ended");
    EXPECT_NE(m_reported, Qt::MoveAction);
    EXPECT_EQ(readFile(m_dst + "/moved.txt"), "moving");
    EXPECT_FALSE(std::filesystem::exists(m_out + "/moved.txt"));
    EXPECT_FALSE(lists(right(), "gone"));
}

TEST_F(DragDropCommandsTest, ADragOffersTheMarkedItemsAsAUriListOnlyPastTheDistanceAndNeverFromTheParentRow)
{
    PanelTableView* list = left().tableView();
    putCursorOn(left(), "a\nb%41");
    QTest::keyClick(list, Qt::Key_Space);
    putCursorOn(left(), "b.txt");
    QTest::keyClick(list, Qt::Key_Space);
    // The marks are what a drag takes, but never from "..".
    const QPoint far(0, 3 * QApplication::startDragDistance());
    mouse(left(), QEvent::MouseButtonPress, centreOf(left(), ".."));
    mouse(left(), QEvent::MouseMove, centreOf(left(), "..") + far);
    mouse(left(), QEvent::MouseButtonRelease, centreOf(left(), "..") + far);
    EXPECT_EQ(list->findChild<QDrag*>(), nullptr);

    const QPoint start = centreOf(left(), "deeper");
    mouse(left(), QEvent::MouseButtonPress, start);
    mouse(left(), QEvent::MouseMove, start + QPoint(1, 0));
    EXPECT_EQ(list->findChild<QDrag*>(), nullptr);
    mouse(left(), QEvent::MouseMove, start + far);
    const QDrag* drag = list->findChild<QDrag*>();
    ASSERT_NE(drag, nullptr);
    EXPECT_EQ(drag->supportedActions(), Qt::CopyAction | Qt::MoveAction);
    EXPECT_EQ(drag->mimeData()->data("text/uri-list").toStdString(),
        FileUriList::uriList({ m_src + "/a\nb%41", m_src + "/b.txt" }));
    mouse(left(), QEvent::MouseButtonRelease, start + far);
    // The drag has ended: nothing of it is left behind.
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->findChild<QDrag*>() == nullptr; }));
}
