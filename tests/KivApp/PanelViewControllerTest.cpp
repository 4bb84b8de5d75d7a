#include "panels/PanelViewController.h"
#include "BlockingDoor.h"
#include "DialogDriver.h"
#include "RowNames.h"
#include "SavingAtOnce.h"
#include "TempDir.h"
#include "WidgetProbe.h"
#include "base/ErrorText.h"
#include "files/EditableText.h"
#include "commands/PanelPrompts.h"
#include "jobs/ItemCounter.h"
#include "panels/PanelColumnTitles.h"
#include "panels/PanelEditorCover.h"
#include "panels/PanelRowDelegate.h"
#include "panels/PanelTableView.h"
#include "panels/PanelViewControllerDelegate.h"
#include "toolkit/RetroLabel.h"
#include "toolkit/Theme.h"
#include "viewer/EditorTextView.h"
#include "viewer/PanelEditorView.h"

#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <optional>
#include <set>
#include <tuple>

using namespace kiv;
using namespace kiv::test;

namespace {

// Writes down every report of the panel, one short line each.
struct RecordingDelegate : PanelViewControllerDelegate
{
    void panelDidBecomeActive(PanelViewController&) override { calls.push_back("active"); }
    void panelDidChangeLocation(PanelViewController&) override { calls.push_back("location"); }
    void panelDidOpenFile(PanelViewController&, const std::string& realPath) override
    {
        calls.push_back("open " + realPath);
    }
    void panelWantsServer(PanelViewController&, const std::string& url) override
    {
        calls.push_back("server " + url);
    }
    void panelWantsDrag(PanelViewController&) override { calls.push_back("drag"); }
    void panelDidReceiveDrop(
        PanelViewController&, const QMimeData&, bool move, const std::string& folderRow) override
    {
        calls.push_back((move ? "move to " : "copy to ") + folderRow);
    }
    void panelDidFailWithError(
        PanelViewController&, const std::exception& error, const PanelLocation& place) override
    {
        calls.push_back("error " + userMessage(error) + (place.isArchive() ? " (archive)" : ""));
    }

    std::vector<std::string> calls;
};

// A shown, active panel on `folder` with a recording delegate and a model checker.
struct PanelFixture
{
    explicit PanelFixture(const std::string& folder)
        : panel(folder)
    {
        panel.setDelegate(&recorder);
        panel.view()->resize(560, 300);
        panel.view()->show();
        panel.view()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(panel.view()));
        panel.setActive(true);
        new QAbstractItemModelTester(
            panel.tableView()->model(), QAbstractItemModelTester::FailureReportingMode::Fatal, &panel);
        panel.reload();
        waitUntilListed();
        panel.focus();
        recorder.calls.clear();
    }

    void waitUntilListed()
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !panel.isListing(); }, 10000));
    }
    // Presses `key` in the list and waits for what it lists.
    void press(Qt::Key key)
    {
        QTest::keyClick(panel.tableView(), key);
        waitUntilListed();
    }
    // Runs the panel's intent `intent` and waits for what it lists.
    void run(void (PanelViewController::*intent)())
    {
        (panel.*intent)();
        waitUntilListed();
    }
    std::string line(const char* name) const
    {
        return panel.view()->findChild<RetroLabel*>(name)->text().toStdString();
    }
    QModelIndex index(int row) const { return panel.tableView()->model()->index(row, 0); }
    int pixelsOf(const QColor& color, int row)
    {
        const QPoint list = panel.tableView()->viewport()->mapTo(panel.view(), QPoint());
        return kiv::test::pixelsOf(panel.view()->grab().toImage(), color,
            panel.tableView()->visualRect(index(row)).translated(list));
    }

    RecordingDelegate recorder;
    PanelViewController panel;
};

// Returns the first and last x in `area` of `image` where anything but the panel background shows.
std::pair<int, int> inkSpan(const QImage& image, const QRect& area)
{
    int first = area.right() + 1;
    int last = area.left() - 1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != (Theme::panelBackground().rgb() & 0xFFFFFF)) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return { first, last };
}

} // namespace

TEST(PanelViewControllerTest, TitlesStandOverTheirColumnsAndTheListShowsWholeRowsOnly)
{
    TempDir scratch;
    for (int file = 0; file < 60; ++file)
        ASSERT_EQ(::truncate(scratch.write("file" + std::to_string(file)).c_str(), 1'234'567), 0);
    PanelFixture fixture(scratch.path());
    PanelTableView& list = *fixture.panel.tableView();
    auto& titles = *fixture.panel.view()->findChild<PanelColumnTitles*>();
    const qreal cell = PanelRowDelegate(fixture.panel.state()).cellWidth();
    // At either width the ink of each title and of the rows under it (all but the cursor's) line
    // up at the side the column keeps to, to the pixel give or take the bold font's extra one.
    for (int width : { 560, 1000 }) {
        fixture.panel.view()->resize(width, 300);
        QCoreApplication::processEvents();
        const QImage image = fixture.panel.view()->grab().toImage();
        const QPoint rowsAt
            = list.viewport()->mapTo(fixture.panel.view(), QPoint(0, PanelTableView::rowHeight));
        const QPoint titlesAt = titles.mapTo(fixture.panel.view(), QPoint());
        for (const PanelRowText::Title& title : titles.titles()) {
            const int left = int(PanelRowDelegate::textInset + title.firstCell * cell);
            const int right = int(PanelRowDelegate::textInset + title.endCell * cell);
            const auto [rowFirst, rowLast]
                = inkSpan(image, QRect(rowsAt.x() + left, rowsAt.y(), right - left, 100));
            const auto [titleFirst, titleLast]
                = inkSpan(image, QRect(titlesAt.x() + left, titlesAt.y(), right - left, titles.height()));
            if (title.side == CellText::Side::right)
                EXPECT_NEAR(titleLast, rowLast, 1) << title.text << " at " << width;
            else
                EXPECT_NEAR(titleFirst, rowFirst, 1) << title.text << " at " << width;
        }
    }
    // The scroll bar is drawn in the panel's own colours only: its track, block and arrows.
    QScrollBar& bar = *list.verticalScrollBar();
    const QImage barImage = bar.grab().toImage();
    EXPECT_EQ(pixelsOf(barImage, Theme::scrollBarTrack()) + pixelsOf(barImage, Theme::scrollBarThumb())
            + pixelsOf(barImage, Theme::scrollBarArrow()),
        bar.width() * bar.height());
    // Paging down never leaves a row cut at the top or the bottom of the list.
    for (int page = 0; page < 3; ++page) {
        fixture.press(Qt::Key_PageDown);
        EXPECT_EQ(list.visualRect(list.indexAt(QPoint(0, 0))).top(), 0) << "page " << page;
        const QModelIndex bottom = list.indexAt(QPoint(0, list.viewport()->height() - 1));
        EXPECT_EQ(list.visualRect(bottom).bottom(), list.viewport()->height() - 1) << "page " << page;
    }
}

TEST(PanelViewControllerTest, MarkingMovesTheCursorAndRewritesTheStatusLine)
{
    TempDir scratch;
    scratch.write("a.txt", std::string(1000, 'a'));
    scratch.write("b.txt", std::string(2000, 'b'));
    ASSERT_EQ(::truncate(scratch.write("c.img").c_str(), 100'000'000'000), 0);
    PanelFixture fixture(scratch.path());
    EXPECT_EQ(fixture.line("statusLabel"), " 4 items");

    // On "..", Space marks nothing but still moves the cursor down; on the last row it stays.
    for (int row = 0; row < 3; ++row)
        fixture.press(Qt::Key_Space);
    EXPECT_EQ(fixture.line("statusLabel"), " 2 marked, 2.9 KB");
    fixture.press(Qt::Key_Space);
    EXPECT_EQ(fixture.line("statusLabel"), " 3 marked, 93.1 GB");

    // Marked names are yellow off the cursor; the cursor row is black on the bar, which is cyan in
    // the active panel and dark grey in the other.
    EXPECT_GT(fixture.pixelsOf(Theme::panelMarked(), 1), 0);
    EXPECT_EQ(fixture.pixelsOf(Theme::panelMarked(), 3), 0);
    EXPECT_GT(fixture.pixelsOf(Theme::cursorText(), 3), 0);
    EXPECT_GT(fixture.pixelsOf(Theme::cursorBackground(), 3), 100);
    fixture.panel.setActive(false);
    EXPECT_EQ(fixture.pixelsOf(Theme::cursorBackground(), 3), 0);
    EXPECT_GT(fixture.pixelsOf(Theme::inactiveCursorBG(), 3), 100);
}

TEST(PanelViewControllerTest, GroupKeysMarkByPatternAndANewSortOrderKeepsTheCursorRow)
{
    TempDir scratch;
    scratch.write("a.txt", std::string(1000, 'a'));
    scratch.write("b.TXT", std::string(2000, 'b'));
    scratch.write("c.img", "c");
    scratch.folder("sub");
    PanelFixture fixture(scratch.path());
    const auto marked = [&] {
        const auto& names = fixture.panel.state().markedNames();
        return std::set<std::string>(names.begin(), names.end());
    };
    // Insert on ".." marks nothing but moves down like Space.
    fixture.press(Qt::Key_Insert);
    fixture.press(Qt::Key_Insert);
    answerNextModal([](QWidget* modal) {
        auto* field = modal->findChild<QLineEdit*>();
        field->setText(QStringLiteral("*.TXT"));
        QTest::keyClick(field, Qt::Key_M, Qt::AltModifier); // Match case
    });
    const auto selectGroup = [&] { PanelPrompts::selectGroup(fixture.panel, PanelState::MarkChange::mark); };
    selectGroup();
    EXPECT_EQ(marked(), (std::set<std::string> { "sub", "b.TXT" }));
    const ShownDialog selectGroupDialog { "Select group",
        "Names like *.txt; *.md, a?c, [a-f]* (OK ignores case, Match case does not):", "*", "[ OK ]", true,
        ButtonTone::ordinary, "[ Match case ]" };
    EXPECT_EQ(answering({ typing("*.txt") }, selectGroup), ShownDialogs { selectGroupDialog });
    EXPECT_EQ(marked(), (std::set<std::string> { "sub", "a.txt", "b.TXT" }));
    answering({ typing("a*; s?b") }, [&] { PanelPrompts::selectGroup(fixture.panel, PanelState::MarkChange::unmark); });
    fixture.panel.invertMarks();
    EXPECT_EQ(marked(), (std::set<std::string> { "a.txt", "c.img", "sub" }));
    EXPECT_EQ(fixture.line("statusLabel"), " 3 marked, 1001 bytes");

    // Size, chosen twice, sorts descending; the cursor stays on its file and the title says so.
    fixture.panel.tableView()->moveSelection(2);
    fixture.panel.chooseSortKey(SortOrder::Key::size);
    fixture.panel.chooseSortKey(SortOrder::Key::size);
    fixture.waitUntilListed();
    EXPECT_EQ(fixture.panel.state().entries()[2].name, "b.TXT");
    EXPECT_EQ(fixture.panel.selectedEntry()->name, "a.txt");
    EXPECT_EQ(fixture.panel.view()->findChild<PanelColumnTitles*>()->titles()[1].text, "Size↓");
}

TEST(PanelViewControllerTest, ActivatingEntersFoldersAndArchivesGoingUpReturnsAndFilesAreReported)
{
    TempDir scratch;
    scratch.write("docs/inner.txt", "x");
    scratch.write("zipped/member.txt", "y");
    scratch.run("cd zipped && zip -q ../pack.zip member.txt");
    ASSERT_EQ(::symlink((scratch / "docs").c_str(), (scratch / "linkdir").c_str()), 0);
    ASSERT_EQ(::symlink("note.txt", (scratch / "linkfile").c_str()), 0);
    scratch.write("note.txt", "n");
    PanelFixture fixture(scratch.path());
    auto& calls = fixture.recorder.calls;
    const auto shows = [&](const std::string& path) { return fixture.line("pathLabel") == " " + path + " "; };

    // Rows: .., docs, zipped, linkdir, linkfile, note.txt, pack.zip. A double click enters too.
    fixture.press(Qt::Key_Down);
    fixture.run(&PanelViewController::activateSelection);
    EXPECT_TRUE(shows(scratch / "docs"));
    EXPECT_EQ(calls, std::vector<std::string> { "location" });
    fixture.run(&PanelViewController::goToParent);
    EXPECT_TRUE(shows(scratch.path()));
    const QPoint docsRow = fixture.panel.tableView()->visualRect(fixture.index(1)).center();
    QTest::mouseClick(fixture.panel.tableView()->viewport(), Qt::LeftButton, {}, docsRow);
    QTest::mouseDClick(fixture.panel.tableView()->viewport(), Qt::LeftButton, {}, docsRow);
    fixture.waitUntilListed();
    EXPECT_TRUE(shows(scratch / "docs"));
    fixture.run(&PanelViewController::goToParent);

    // A link to a folder is entered at its own path, so ".." comes back here; a file inside an
    // archive opens nothing.
    fixture.panel.tableView()->moveSelection(3);
    fixture.run(&PanelViewController::activateSelection);
    EXPECT_TRUE(shows(scratch / "linkdir"));
    fixture.run(&PanelViewController::activateSelection);
    EXPECT_TRUE(shows(scratch.path()));
    calls.clear();

    // A file opens, and so does a link that leads to one, with no word of a folder.
    for (int row : { 5, 4 }) {
        fixture.panel.tableView()->moveSelection(row);
        fixture.run(&PanelViewController::activateSelection);
    }
    EXPECT_EQ(calls, (std::vector<std::string> { "open " + scratch / "note.txt", "open " + scratch / "linkfile" }));
    EXPECT_TRUE(shows(scratch.path()));
    calls.clear();
    fixture.panel.tableView()->moveSelection(6);
    fixture.run(&PanelViewController::activateSelection);
    fixture.press(Qt::Key_End);
    fixture.run(&PanelViewController::activateSelection);
    EXPECT_TRUE(shows(scratch / "pack.zip :: /"));
    EXPECT_EQ(calls, std::vector<std::string> { "location" });
    fixture.run(&PanelViewController::goToParent);
    EXPECT_TRUE(shows(scratch.path()));
}

TEST(PanelViewControllerTest, AFailedRelistingIsReportedAndEndsTheModelReset)
{
    TempDir scratch;
    scratch.write("gone/a.txt");
    PanelFixture fixture(scratch / "gone");
    QSignalSpy begun(fixture.panel.tableView()->model(), &QAbstractItemModel::modelAboutToBeReset);
    QSignalSpy ended(fixture.panel.tableView()->model(), &QAbstractItemModel::modelReset);
    std::filesystem::remove_all(scratch / "gone");
    fixture.panel.reload();
    fixture.waitUntilListed();
    ASSERT_FALSE(fixture.recorder.calls.empty());
    EXPECT_EQ(fixture.recorder.calls.front().rfind("error ", 0), 0u) << fixture.recorder.calls.front();
    EXPECT_EQ(ended.count(), begun.count()) << "a reset was begun and not ended";
    EXPECT_EQ(fixture.panel.tableView()->model()->rowCount(), 2);
}

TEST(PanelViewControllerTest, TheEditorCoversThePanelAndAnUnsavedOneIsAskedBeforeItIsReplaced)
{
    TempDir scratch;
    const std::string first = scratch.write("first.txt", "one");
    const std::string second = scratch.write("second.txt", "two");
    PanelFixture fixture(scratch.path());
    const auto edit = [&](const std::string& path) {
        fixture.panel.editorCover().present(path, EditableText::load(path), {}, savingAtOnce(path));
    };
    edit(first);
    PanelEditorView* editor = fixture.panel.editorView();
    ASSERT_NE(editor, nullptr);
    auto* text = editor->findChild<EditorTextView*>();
    EXPECT_TRUE(text->hasFocus());

    QTest::keyClicks(text, "edited ");
    answering({ no }, [&] { edit(second); });
    EXPECT_EQ(fixture.panel.editorView(), editor);
    fixture.panel.editorCover().save();
    EXPECT_EQ(readFile(first), "edited one");
    edit(second);
    ASSERT_NE(fixture.panel.editorView(), nullptr);
    EXPECT_EQ(fixture.panel.editorView()->filePath(), second);
    QTest::keyClick(fixture.panel.editorView()->findChild<EditorTextView*>(), Qt::Key_Escape);
    EXPECT_EQ(fixture.panel.editorView(), nullptr);
    // The window's own focus widget: the dialog's window may still hold the activation.
    EXPECT_EQ(fixture.panel.view()->focusWidget(), fixture.panel.tableView());
}

TEST(PanelViewControllerTest, ChangesFromOutsideAreListedKeepingCursorAndMarksAndAVanishedFolderIsLeft)
{
    TempDir scratch;
    const std::string folder = scratch.folder("watched/deeper");
    for (const char* name : { "b.txt", "c.txt", "d.txt" })
        scratch.write("watched/deeper/" + std::string(name));
    PanelFixture fixture(folder);
    const auto rowNamed = [&](const std::string& name) {
        const auto& entries = fixture.panel.state().entries();
        return std::find_if(entries.begin(), entries.end(), [&](const FileEntry& e) {
            return e.name == name;
        }) - entries.begin();
    };
    fixture.panel.tableView()->moveSelection(static_cast<int>(rowNamed("c.txt")));
    fixture.press(Qt::Key_Space); // marks c.txt, the cursor moves to d.txt
    const auto listed = [&](const std::string& name) {
        return rowNamed(name) < std::ssize(fixture.panel.state().entries());
    };

    // A burst from outside: one name comes before the cursor, one goes.
    scratch.write("watched/deeper/a.txt");
    std::filesystem::remove(folder + "/b.txt");
    ASSERT_TRUE(QTest::qWaitFor([&] { return listed("a.txt") && !listed("b.txt"); }, 2000));
    EXPECT_EQ(fixture.panel.state().markedNames(), std::unordered_set<std::string> { "c.txt" });
    EXPECT_EQ(fixture.panel.state().cursorIndex(), rowNamed("d.txt"));
    // A file written in place changes no name; its size shows all the same.
    scratch.write("watched/deeper/d.txt", "grown");
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return fixture.panel.state().entries()[rowNamed("d.txt")].size == 5; }, 2000));

    // The folder goes: the panel moves to the nearest folder still there and says so.
    std::filesystem::remove_all(scratch.path() + "/watched");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return fixture.panel.state().location().path() == scratch.path(); }, 2000));
    EXPECT_EQ(fixture.line("statusLabel"), " Folder gone: " + folder);
    EXPECT_TRUE(std::ranges::find(fixture.recorder.calls, "location") != fixture.recorder.calls.end());
}

TEST(PanelViewControllerTest,
    ASlowListingKeepsTheOldRowsCountsItsItemsStopsOnEscapeAndIsSupersededByTheNextMove)
{
    TempDir scratch;
    for (int file = 0; file < 60; ++file)
        scratch.write("slow/f" + std::to_string(file));
    scratch.write("quick/only.txt");
    scratch.write("a.txt");
    PanelFixture fixture(scratch.path());
    fixture.panel.tableView()->moveSelection(3); // .., quick, slow, a.txt
    fixture.press(Qt::Key_Space);
    const auto where = [&] { return fixture.panel.state().location().path(); };
    const auto marked = std::unordered_set<std::string> { "a.txt" };
    struct SlowListings
    {
        SlowListings() { ItemCounter::setDelayForTests(std::chrono::milliseconds(20)); }
        ~SlowListings() { ItemCounter::setDelayForTests({}); }
    };
    std::optional<SlowListings> slow(std::in_place);

    // Past 0.3 s the status line counts the items read; meanwhile the old rows stay and take the keys.
    fixture.panel.goTo(scratch / "slow");
    ASSERT_TRUE(QTest::qWaitFor([&] { return fixture.line("statusLabel").starts_with(" Reading... "); }));
    EXPECT_TRUE(fixture.line("statusLabel").ends_with(" items")) << fixture.line("statusLabel");
    QTest::keyClick(fixture.panel.tableView(), Qt::Key_Home);
    EXPECT_EQ(std::tuple(where(), fixture.panel.state().markedNames(), fixture.panel.state().cursorIndex()),
        std::tuple(scratch.path(), marked, std::ptrdiff_t { 0 }));
    // Stopped, the panel stays where it was, as it was.
    fixture.panel.stopListing();
    EXPECT_FALSE(fixture.panel.isListing());
    EXPECT_EQ(fixture.line("statusLabel"), " 1 marked, 0 bytes");

    // A second move supersedes the first: only its rows are ever shown, and the cursor rules hold.
    fixture.panel.goTo(scratch / "slow");
    slow.reset();
    fixture.panel.goTo(PanelLocation::filesystem(scratch / "quick"), "only.txt");
    fixture.waitUntilListed();
    EXPECT_EQ(where(), scratch / "quick");
    EXPECT_FALSE(QTest::qWaitFor([&] { return where() != scratch / "quick"; }, 500))
        << "a dropped listing showed";
    EXPECT_EQ(std::pair(fixture.panel.selectedEntry()->name, fixture.panel.state().markedNames().empty()),
        std::pair(std::string("only.txt"), true));
    EXPECT_EQ(std::ranges::count(fixture.recorder.calls, "location"), 1);
}

TEST(PanelViewControllerTest, AFolderThatRefusesToBeListedLeavesThePanelAsItWasAndIsReportedOnce)
{
    TempDir scratch;
    scratch.write("locked/inside.txt");
    scratch.write("a.txt");
    if (!permissionBitsBind(scratch))
        GTEST_SKIP() << "permission bits do not bind for this process (root with DAC override)";
    ::chmod((scratch / "locked").c_str(), 0);
    PanelFixture fixture(scratch.path());
    fixture.panel.tableView()->moveSelection(3); // .., locked, permission-probe, a.txt
    fixture.press(Qt::Key_Space);
    fixture.panel.tableView()->moveSelection(1);
    const auto rows = fixture.panel.state().entries();
    fixture.run(&PanelViewController::activateSelection);
    ::chmod((scratch / "locked").c_str(), 0700);
    EXPECT_EQ(fixture.recorder.calls,
        std::vector<std::string> { "error Permission denied: " + scratch / "locked" });
    EXPECT_EQ(fixture.panel.state().location().path(), scratch.path());
    EXPECT_EQ(fixture.panel.state().entries(), rows);
    EXPECT_EQ(fixture.panel.state().markedNames(), std::unordered_set<std::string> { "a.txt" });
    EXPECT_EQ(fixture.panel.selectedEntry()->name, "locked");
    EXPECT_EQ(fixture.line("pathLabel"), " " + scratch.path() + " ");
}

TEST(PanelViewControllerTest, AHangingFolderHoldsUpNeitherTheStartNorTheKeysAndIsListedWhenItAnswers)
{
    TempDir scratch;
    scratch.write("kept/a.txt");
    scratch.write("kept/deeper/b.txt");
    auto door = std::make_shared<kiv::test::BlockingDoor>();
    {
        PanelViewController panel(PanelLocation(door, scratch.path()));
        const auto status = [&] { return panel.view()->findChild<RetroLabel*>("statusLabel")->text(); };
        QElapsedTimer clock;
        clock.start();
        panel.restore({ scratch / "kept", false, {}, {} });
        EXPECT_LT(clock.elapsed(), 1000) << "the window waits for no folder to show";
        EXPECT_TRUE(panel.isListing());
        EXPECT_EQ(status(), QStringLiteral(" Reading..."));
        EXPECT_EQ(panel.settings().folder, scratch / "kept") << "quitting now would forget the folder";
        door->released = true;
        ASSERT_TRUE(QTest::qWaitFor([&] { return !panel.isListing(); }, 10000));
        EXPECT_EQ(panel.state().location().folder(), scratch / "kept");
        EXPECT_EQ(kiv::test::namesOf(panel.state().entries()), (std::vector<std::string> { "..", "deeper", "a.txt" }));

        // Entering a folder that hangs keeps the rows, and Esc gives the panel back at once.
        door->released = false;
        panel.goTo(scratch / "kept/deeper");
        ASSERT_TRUE(QTest::qWaitFor([&] { return door->waiting == 1; }));
        panel.stopListing();
        EXPECT_FALSE(panel.isListing());
        EXPECT_EQ(panel.state().location().folder(), scratch / "kept");
    }
    // The panel is gone with its listing still hanging: released now, it reaches nothing of it.
    door->released = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return door->waiting == 0; }));
    QTest::qWait(50);
}
