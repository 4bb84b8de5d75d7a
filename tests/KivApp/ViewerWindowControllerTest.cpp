#include "viewer/ViewerWindowController.h"

#include "DialogDriver.h"
#include "TempDir.h"
#include "files/FileSystemService.h"
#include "files/HexPager.h"
#include "jobs/JobControl.h"
#include "jobs/JobThread.h"
#include "viewer/HexView.h"
#include "viewer/ViewerLoadJob.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <filesystem>
#include <memory>
#include <thread>

using namespace kiv;
using kiv::test::TempDir;

namespace {

QString shownText(const ViewerWindowController& viewer)
{
    return viewer.window()->findChild<QPlainTextEdit*>()->toPlainText();
}

// Reads `path` in `form` as the viewer's job does, on a thread of its own as a worker would, and
// hands what it found to `show` here.
void readAsAJob(const std::string& path, PreviewText::Form form, const ViewerWindowController::Show& show)
{
    ViewerLoadJob job(FileSystemService::shared(), path, form);
    JobControl control;
    std::thread([&] { JobThread::runHere(job, control); }).join();
    show(job.loaded().preview().kind, job.takeDocument());
}

// A viewer on the file at `path`, read as the program reads it.
std::unique_ptr<ViewerWindowController> viewerOn(const std::string& path)
{
    std::error_code unknown;
    const auto size = std::filesystem::file_size(path, unknown);
    std::unique_ptr<ViewerWindowController> viewer;
    readAsAJob(path, PreviewText::Form::judged, [&](PreviewText::Preview::Kind kind, std::unique_ptr<QTextDocument> text) {
        viewer = std::make_unique<ViewerWindowController>(path, kind, std::move(text),
            unknown ? std::nullopt : std::optional(std::int64_t(size)),
            [path](PreviewText::Form form, const ViewerWindowController::Show& show) { readAsAJob(path, form, show); });
    });
    return viewer;
}

} // namespace

TEST(ViewerWindowControllerTest, TextIsShownReadOnlyLineForLineBinaryAsItsDumpAndUnreadableFilesSayWhy)
{
    TempDir scratch;
    // A long text where some lines end in "\r\n", which a document shows (and copies) as one line break.
    std::string text, shown;
    for (int line = 0; text.size() < (3u << 20); ++line) {
        const std::string body = "log line " + std::to_string(line);
        text += body + (line % 5 == 0 ? "\r\n" : line % 7 == 0 ? "\n\n" : "\n");
        shown += body + (line % 7 == 0 && line % 5 != 0 ? "\n\n" : "\n");
    }
    const auto viewer = viewerOn(scratch.write("big.log", text));
    EXPECT_EQ(viewer->window()->windowTitle(), "View: big.log");
    EXPECT_EQ(shownText(*viewer), QString::fromStdString(shown));
    EXPECT_TRUE(viewer->window()->findChild<QPlainTextEdit*>()->isReadOnly());
    EXPECT_EQ(viewer->window()->findChild<QPlainTextEdit*>()->document()->thread(), viewer->window()->thread())
        << "the document built by the job is handed over to the window's thread";

    const auto binary = viewerOn(scratch.write("a.bin", std::string("Hello\0World", 11)));
    const HexView* dump = binary->window()->findChild<HexView*>();
    EXPECT_TRUE(dump->isVisibleTo(binary->window()));
    EXPECT_EQ(dump->pager()->lines(0, 5),
        std::vector<std::string> { "00000000  48 65 6C 6C 6F 00 57 6F 72 6C 64" + std::string(16, ' ') + "  Hello.World" });
    EXPECT_EQ(shownText(*viewerOn(scratch / "gone.txt")), "(could not read file)");
    EXPECT_EQ(shownText(*viewerOn(scratch.folder("folder"))), "(could not read file)");
}

TEST(ViewerWindowControllerTest, EndAndHomeScrollAndEscF3AndF10CloseTheWindow)
{
    TempDir scratch;
    std::string text;
    for (int line = 0; line < 2000; ++line)
        text += "line " + std::to_string(line) + "\n";
    const std::string path = scratch.write("long.txt", text);
    for (const Qt::Key closing : { Qt::Key_Escape, Qt::Key_F3, Qt::Key_F10 }) {
        auto* viewer = viewerOn(path).release();
        QPointer<QWidget> window = viewer->window();
        viewer->showWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        QScrollBar* bar = window->findChild<QPlainTextEdit*>()->verticalScrollBar();
        QTest::keyClick(window, Qt::Key_End);
        EXPECT_EQ(bar->value(), bar->maximum());
        EXPECT_GT(bar->value(), 0);
        QTest::keyClick(window, Qt::Key_Home);
        EXPECT_EQ(bar->value(), 0);
        // Find ignores case and scrolls to the match; F7 again finds the next, wrapping to the top.
        auto* view = window->findChild<QPlainTextEdit*>();
        test::answering({ test::typing("LINE 1500") }, [&] { QTest::keyClick(window, Qt::Key_F7); });
        EXPECT_EQ(view->textCursor().selectedText(), "line 1500");
        EXPECT_GT(bar->value(), 0);
        const int firstMatch = view->textCursor().position();
        window->activateWindow(); // the dialog took the window's activation with it
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_F7);
        EXPECT_EQ(view->textCursor().position(), firstMatch) << "the only match, found again from the top";
        // F4 shows the dump and back; the status line follows the view.
        auto* status = window->findChild<QLabel*>();
        EXPECT_TRUE(status->text().startsWith(" long.txt   18,890 bytes   ")) << status->text().toStdString();
        EXPECT_TRUE(status->text().endsWith("Text")) << status->text().toStdString();
        QTest::keyClick(window, Qt::Key_F4);
        EXPECT_EQ(window->findChild<HexView*>()->pager()->lines(0, 1).at(0).substr(0, 21), "00000000  6C 69 6E 65");
        EXPECT_TRUE(status->text().endsWith(" 0%   Hex")) << status->text().toStdString();
        QTest::keyClick(window, Qt::Key_F4);
        EXPECT_TRUE(view->toPlainText().startsWith("line 0\nline 1"))
            << view->toPlainText().left(40).toStdString();
        QTest::keyClick(window, closing);
        // The controller deletes itself, and the window with it, once the event loop runs.
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); })) << closing;
    }
}

TEST(ViewerWindowControllerTest, TheDumpReachesTheEndOfAHugeFileAndSearchesItInStepsThatEscStops)
{
    TempDir scratch;
    const auto sparse = [&](const std::string& name, std::int64_t size, std::int64_t needleAt) {
        const std::string path = scratch.write(name);
        EXPECT_EQ(::truncate(path.c_str(), size), 0);
        std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).seekp(needleAt).write("Needle", 6);
        return path;
    };
    // More lines than a scroll bar counts, so one step of the bar is several lines.
    const std::int64_t huge = std::int64_t(64) << 30;
    auto* viewer = viewerOn(sparse("huge.bin", huge, huge - 6)).release();
    QPointer<QWidget> window = viewer->window();
    viewer->showWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    auto* dump = window->findChild<HexView*>();
    auto* status = window->findChild<QLabel*>();
    const auto statusEnds = [&](const char* end) { return status->text().endsWith(end); };
    EXPECT_TRUE(statusEnds(" 0%   Hex")) << status->text().toStdString();
    QTest::keyClick(dump, Qt::Key_PageDown);
    EXPECT_EQ(dump->topLine(), dump->linesInSight());
    QTest::keyClick(window, Qt::Key_End);
    EXPECT_EQ(dump->topLine(), huge / 16 - dump->linesInSight());
    EXPECT_TRUE(statusEnds(" 100%   Hex")) << status->text().toStdString();
    QTest::keyClick(dump, Qt::Key_PageDown);
    EXPECT_EQ(dump->topLine(), dump->lastTopLine());
    QTest::keyClick(dump, Qt::Key_Up);
    EXPECT_EQ(dump->topLine(), dump->lastTopLine() - 1);
    QScrollBar* bar = dump->verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    EXPECT_NEAR(double(dump->topLine()) / double(dump->lastTopLine()), 0.5, 0.01);
    QTest::keyClick(window, Qt::Key_Home);
    EXPECT_EQ(dump->topLine(), 0);

    // A search through 64 GiB runs in steps: the status line says so, and Esc stops it, not the viewer.
    test::answering({ test::typing("absent") }, [&] { QTest::keyClick(window, Qt::Key_F7); });
    EXPECT_TRUE(status->text().contains("Searching... ")) << status->text().toStdString();
    window->activateWindow(); // the dialog took the window's activation with it
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(statusEnds(" 0%   Hex")) << status->text().toStdString();
    ASSERT_FALSE(window.isNull());
    window->close();

    // Found, the match is marked and brought into sight; the next search starts after it, wraps and
    // finds it again.
    auto* smaller = viewerOn(sparse("smaller.bin", 48 << 20, (40 << 20) + 3)).release();
    window = smaller->window();
    smaller->showWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    dump = window->findChild<HexView*>();
    test::answering({ test::typing("NEEDLE") }, [&] { QTest::keyClick(window, Qt::Key_F7); });
    QTRY_COMPARE(dump->markOffset(), (40 << 20) + 3);
    EXPECT_EQ(dump->topLine(), (40 << 20) / 16);
    status = window->findChild<QLabel*>();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_F7);
    EXPECT_TRUE(status->text().contains("Searching... ")) << status->text().toStdString();
    QTRY_VERIFY(!status->text().contains("Searching"));
    EXPECT_EQ(dump->markOffset(), (40 << 20) + 3);
    window->close();
}
