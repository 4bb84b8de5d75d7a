#include "viewer/ViewerWindowController.h"
#include "toolkit/Theme.h"

#include "TempDir.h"
#include "WidgetProbe.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using namespace kiv;
using kiv::test::TempDir;

namespace {

QPlainTextEdit* textViewOf(const ViewerWindowController& viewer)
{
    return viewer.window()->findChild<QPlainTextEdit*>();
}

} // namespace

TEST(ViewerWindowControllerTest, WindowIsNamedAfterTheFileAndShowsTextReadOnlyInPanelColours)
{
    TempDir scratch;
    ViewerWindowController viewer(scratch.write("notes.txt", "first line\nzweite Zeile \xC3\xBC\n"));
    EXPECT_EQ(viewer.window()->windowTitle(), "View: notes.txt");
    EXPECT_EQ(viewer.window()->size(), QSize(720, 500));
    EXPECT_FALSE(viewer.window()->isVisible());

    QPlainTextEdit* view = textViewOf(viewer);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->toPlainText(), QString::fromUtf8("first line\nzweite Zeile \xC3\xBC\n"));
    EXPECT_TRUE(view->isReadOnly());
    EXPECT_EQ(view->document()->defaultFont().pixelSize(), 12);

    viewer.showWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer.window()));
    const QImage image = viewer.window()->grab().toImage();
    EXPECT_TRUE(test::hasColorAt(image, 700, 480, Theme::panelBackground()));
}

TEST(ViewerWindowControllerTest, NonTextShowsTheHexDumpAndUnreadableFilesSayWhy)
{
    TempDir scratch;
    ViewerWindowController binary(scratch.write("a.bin", std::string("Hello\0World", 11)));
    EXPECT_EQ(binary.window()->windowTitle(), "View: a.bin");
    EXPECT_EQ(textViewOf(binary)->toPlainText(),
        "00000000  48 65 6C 6C 6F 00 57 6F 72 6C 64" + QString(16, ' ') + "  Hello.World");

    ViewerWindowController missing(scratch / "gone.txt");
    EXPECT_EQ(missing.window()->windowTitle(), "View: gone.txt");
    EXPECT_EQ(textViewOf(missing)->toPlainText(), "(could not read file)");
    ViewerWindowController folder(scratch.folder("folder"));
    EXPECT_EQ(textViewOf(folder)->toPlainText(), "(could not read file)");
}

TEST(ViewerWindowControllerTest, LongTextsComeBackLineForLineAndScrollByKeyboard)
{
    TempDir scratch;
    // Some lines end in "\r\n", which a document shows (and copies) as one line break.
    std::string text, shown;
    for (int line = 0; text.size() < (3u << 20); ++line) {
        const std::string body = "log line " + std::to_string(line);
        text += body + (line % 5 == 0 ? "\r\n" : line % 7 == 0 ? "\n\n" : "\n");
        shown += body + (line % 5 == 0 ? "\n" : line % 7 == 0 ? "\n\n" : "\n");
    }
    ViewerWindowController viewer(scratch.write("big.log", text));
    QPlainTextEdit* view = textViewOf(viewer);
    EXPECT_EQ(view->toPlainText(), QString::fromStdString(shown));

    viewer.showWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer.window()));
    QTest::keyClick(view, Qt::Key_PageDown);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_GT(view->verticalScrollBar()->value(), 20);
}
