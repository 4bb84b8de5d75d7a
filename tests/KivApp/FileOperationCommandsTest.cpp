#include "BlockingDoor.h"
#include "ProgramTest.h"
#include "SshServer.h"
#include "panel/PanelLocation.h"
#include "toolkit/RetroLabel.h"
#include "viewer/EditorTextView.h"
#include "viewer/PanelEditorView.h"

#include <QApplication>
#include <QLineEdit>
#include <map>

using namespace kiv;
using namespace kiv::test;

namespace {

// Paths below a folder, each with its content, "<folder>" or "-> " and the link's target.
using Tree = std::map<std::string, std::string>;

Tree snapshot(const std::string& root)
{
    namespace fs = std::filesystem;
    Tree items;
    for (const auto& item : fs::recursive_directory_iterator(root)) {
        const std::string path = fs::relative(item.path(), root).string();
        if (item.is_symlink())
            items[path] = "-> " + fs::read_symlink(item.path()).string();
        else if (item.is_directory())
            items[path] = "<folder>";
        else
            items[path] = readFile(item.path().string());
    }
    return items;
}

// The left panel on "src" (three files and a folder), the right panel on "dst"; keys go to the
// active panel.
class FileOperationCommandsTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        for (auto [path, text] : { std::pair { "a.txt", "alpha" }, { "b.txt", "beta" }, { "c.txt", "gamma" },
                 { "box/inside.txt", "inside" } })
            m_home.write("src/" + std::string(path), text);
        startProgram();
        left().goTo(m_src);
        right().goTo(m_dst);
        waitForJobs();
    }

    void cursorTo(const std::string& name) { putCursorOn(active(), name); }
    void mark(std::initializer_list<std::string> names)
    {
        for (const std::string& name : names) {
            cursorTo(name);
            press(Qt::Key_Space);
        }
    }
    Tree disk() const { return snapshot(m_home.path()); }
    std::size_t marks() { return left().state().markedNames().size(); }

    const std::string m_src = m_home.folder("src");
    const std::string m_dst = m_home.folder("dst");
};

} // namespace

TEST_F(FileOperationCommandsTest, CopyOffersTheOtherFolderReadsTypedOnesAgainstThePanelAndAsksBeforeReplacing)
{
    m_home.write("dst/c.txt", "older c");
    press({ Qt::Key_Home, Qt::Key_F5 }); // nothing marked and the cursor on "..": no dialog, no copy
    mark({ "a.txt", "b.txt" });
    EXPECT_EQ(press(Qt::Key_F5, { ok }), ShownDialogs { prompt("Copy", "Copy 2 item(s) to:", m_dst) });
    EXPECT_EQ(snapshot(m_dst), (Tree { { "a.txt", "alpha" }, { "b.txt", "beta" }, { "c.txt", "older c" } }));
    EXPECT_EQ(marks(), 0u);
    EXPECT_TRUE(lists(right(), "a.txt")) << "the target panel was not relisted";

    // Cancel, or an emptied field, leaves everything, marks included.
    mark({ "box", "c.txt" });
    const auto before = disk();
    press({ Qt::Key_F5, Qt::Key_F5 }, { no, typing("") });
    EXPECT_EQ(disk(), before);
    EXPECT_EQ(marks(), 2u);

    // A taken name is a question; skipped, it is left alone, the other item is still copied, and
    // the end says so in the status line: the user's own choice needs no dismissing.
    const ShownDialogs skipped = press(Qt::Key_F5, { ok, pressing(Qt::Key_S) });
    ASSERT_EQ(skipped.size(), 2u);
    EXPECT_EQ(skipped[1].title, "Copy - Name Taken");
    EXPECT_NE(skipped[1].message.find(m_dst + "/c.txt\n\nNew:  5 bytes"), std::string::npos)
        << skipped[1].message;
    EXPECT_EQ(
        active().view()->findChild<RetroLabel*>("statusLabel")->text(), " Copied 2 of 3 items; 1 skipped");
    EXPECT_EQ(readFile(m_dst + "/c.txt"), "older c");
    EXPECT_EQ(readFile(m_dst + "/box/inside.txt"), "inside");
    EXPECT_EQ(marks(), 0u);

    // A typed folder is read against the panel's folder, never the program's working folder.
    cursorTo("a.txt");
    press(Qt::Key_F5, { typing("box") });
    EXPECT_EQ(readFile(m_src + "/box/a.txt"), "alpha");
}

TEST_F(FileOperationCommandsTest, CopyOutOfAnArchiveExtractsMembersAndWholeFolders)
{
    for (auto [path, text] :
        { std::pair { "docs/one.txt", "one" }, { "docs/deep/two.txt", "two" }, { "top.txt", "top" } })
        m_home.write("pack/" + std::string(path), text);
    m_home.run("cd pack && zip -qr ../src/pack.zip docs top.txt");
    left().reload();
    waitForJobs();
    cursorTo("pack.zip"); // unzip, unlike tar, takes a folder whole only when told it is one
    press(Qt::Key_Return);
    mark({ "docs", "top.txt" });
    press(Qt::Key_F5, { ok });
    EXPECT_EQ(snapshot(m_dst),
        (Tree { { "docs", "<folder>" }, { "docs/deep", "<folder>" }, { "docs/deep/two.txt", "two" },
            { "docs/one.txt", "one" }, { "top.txt", "top" } }));
}

TEST_F(FileOperationCommandsTest, RenameInPlaceOrMoveToAPathWithOrWithoutANewName)
{
    cursorTo("a.txt");
    EXPECT_EQ(press(Qt::Key_F6, { typing("renamed.txt") }),
        ShownDialogs { prompt("Rename / Move", "New name or full path for \"a.txt\":", m_dst + "/a.txt") });
    cursorTo("b.txt");
    press(Qt::Key_F6, { ok }); // the offered path: the other panel's folder, under its own name
    EXPECT_TRUE(lists(right(), "b.txt")) << "the target panel was not relisted";
    cursorTo("c.txt");
    press(Qt::Key_F6, { typing(m_dst + "/c-moved.txt") });
    EXPECT_EQ(snapshot(m_dst), (Tree { { "b.txt", "beta" }, { "c-moved.txt", "gamma" } }));
    EXPECT_EQ(readFile(m_src + "/renamed.txt"), "alpha");

    // The same name, or a path to the item itself, changes nothing and reports nothing.
    mark({ "renamed.txt" });
    const auto before = disk();
    EXPECT_EQ(press(Qt::Key_F6, { typing("renamed.txt") }).size(), 1u);
    EXPECT_EQ(marks(), 0u);
    cursorTo("renamed.txt");
    EXPECT_EQ(press(Qt::Key_F6, { typing(m_src + "//renamed.txt") }).size(), 1u);
    EXPECT_EQ(disk(), before);
}

TEST_F(FileOperationCommandsTest, ACancelledMoveChangesNothingAndSeveralAreMovedOnlyAfterAsking)
{
    m_home.write("dst/taken.txt", "someone else");
    const auto before = disk();
    cursorTo("a.txt");
    // A folder that is not there fails the item, a taken name asks; Esc cancels either. The
    // failure is told in a notice, the user's own cancel in the status line.
    const ShownDialogs failed = press(Qt::Key_F6, { typing(m_home / "missing/new.txt"), pressing(Qt::Key_Escape), ok });
    ASSERT_EQ(failed.size(), 3u);
    EXPECT_EQ(failed[1].title, "Move - Error");
    EXPECT_TRUE(failed[2].message.starts_with("Moved 0 of 1 item; cancelled")) << failed[2].message;
    const ShownDialogs taken = press(Qt::Key_F6, { typing(m_dst + "/taken.txt"), pressing(Qt::Key_Escape) });
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[1].title, "Move - Name Taken");
    EXPECT_EQ(left().view()->findChild<RetroLabel*>("statusLabel")->text(), " Moved 0 of 1 item; cancelled");
    // Cancel and an emptied field do nothing either, nor does No to moving several.
    press({ Qt::Key_F6, Qt::Key_F6 }, { no, typing("") });
    mark({ "a.txt", "b.txt", "box" });
    EXPECT_EQ(
        press(Qt::Key_F6, { no }), ShownDialogs { question("Move", "Move 3 item(s) to " + m_dst + "?") });
    EXPECT_EQ(disk(), before);
    EXPECT_EQ(marks(), 3u);

    press(Qt::Key_F6, { ok });
    EXPECT_EQ(snapshot(m_src), (Tree { { "c.txt", "gamma" } }));
    EXPECT_EQ(snapshot(m_dst),
        (Tree { { "a.txt", "alpha" }, { "b.txt", "beta" }, { "box", "<folder>" },
            { "box/inside.txt", "inside" }, { "taken.txt", "someone else" } }));
    EXPECT_EQ(marks(), 0u);
}

TEST_F(FileOperationCommandsTest, ArchiveViewsRefuseEveryChangeWithTheirOwnMessage)
{
    m_home.run("cd src && zip -q pack.zip a.txt b.txt");
    left().reload();
    right().goTo(m_src);
    waitForJobs();
    putCursorOn(right(), "pack.zip");
    QTest::keyClick(right().tableView(), Qt::Key_Return); // the other panel is inside the archive
    const auto before = disk();

    mark({ "a.txt", "b.txt", "c.txt" });
    EXPECT_EQ(press({ Qt::Key_F6, Qt::Key_F5 }, { ok, ok }),
        (ShownDialogs { notice("Move", "Can't move into an archive view."),
            notice("Copy",
                "Can't copy into an archive view. Switch the other panel to a real folder first.") }));
    EXPECT_EQ(marks(), 3u);

    cursorTo("pack.zip");
    press(Qt::Key_Return);
    cursorTo("a.txt");
    EXPECT_EQ(press({ Qt::Key_F6, Qt::Key_F7, Qt::Key_F8 }, { ok, ok, ok }),
        (ShownDialogs {
            notice("Move",
                "Can't move items from inside an archive view - use Copy (F5) to extract them first."),
            notice("Make Directory", "Can't create a folder inside an archive view."),
            notice("Delete", "Can't delete items from inside an archive view.") }));
    EXPECT_EQ(disk(), before);
}

TEST_F(FileOperationCommandsTest, ACutShortArchiveListsWhatCameBeforeSaysWhereItBrokeAndGivesItOut)
{
    m_home.run("cd src && head -c 300000 /dev/urandom > big.bin && tar -czf cut.tgz a.txt big.bin"
               " && truncate -s 100000 cut.tgz");
    left().reload();
    waitForJobs();
    cursorTo("cut.tgz");
    press(Qt::Key_Return);
    EXPECT_TRUE(lists(left(), "big.bin"));
    const QString status = left().view()->findChild<RetroLabel*>("statusLabel")->text();
    EXPECT_TRUE(status.contains(QStringLiteral("cut.tgz: ")) && status.contains(QStringLiteral(" after big.bin")))
        << status.toStdString();
    cursorTo("a.txt");
    press(Qt::Key_F5, { ok });
    EXPECT_EQ(readFile(m_dst + "/a.txt"), "alpha");
}

TEST_F(FileOperationCommandsTest, MakeDirectoryIgnoresAnEmptyNameAndNeverTakesAnExistingOne)
{
    const auto before = disk();
    EXPECT_EQ(
        press(Qt::Key_F7, { ok }), ShownDialogs { prompt("Make Directory", "Name for the new folder:", "") });
    EXPECT_EQ(
        press(Qt::Key_F7, { typing("box"), ok }).at(1), notice("Job Ended", "Already exists: " + m_src + "/box"));
    EXPECT_EQ(disk(), before);

    press(Qt::Key_F7, { typing("fresh") });
    EXPECT_TRUE(std::filesystem::is_directory(m_src + "/fresh"));
    EXPECT_TRUE(lists(left(), "fresh")) << "the panel was not relisted";
}

TEST_F(FileOperationCommandsTest, DeleteTrashesAndCtrlZUndoesTheLastOperationsInTurnThenRedoes)
{
    const Tree start = snapshot(m_src);
    const auto status
        = [this] { return active().view()->findChild<RetroLabel*>("statusLabel")->text().toStdString(); };
    // Trash, undo and redo run as jobs.
    const auto pressZ = [this](Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(active().tableView(), Qt::Key_Z, modifiers);
        waitForJobs();
    };
    // A copy is recorded as its job ends, with only what it made: the folder it merged into stays.
    m_home.write("dst/box/mine.txt", "mine");
    right().reload();
    waitForJobs();
    const Tree dstBefore = snapshot(m_dst);
    cursorTo("box");
    press(Qt::Key_F5, { ok });
    waitForJobs();
    EXPECT_EQ(readFile(m_dst + "/box/inside.txt"), "inside");
    pressZ(Qt::ControlModifier);
    EXPECT_EQ(status(), " Undone: copy of \"inside.txt\"");
    EXPECT_EQ(snapshot(m_dst), dstBefore);

    mark({ "a.txt", "b.txt" });
    EXPECT_EQ(press(Qt::Key_Delete), ShownDialogs {}) << "a few items go without a question";
    waitForJobs();
    EXPECT_EQ(readFile(m_home / ".local/share/Trash/files/a.txt"), "alpha");
    cursorTo("c.txt");
    press(Qt::Key_F6, { typing("c2.txt") });
    pressZ(Qt::ControlModifier);
    EXPECT_EQ(status(), " Undone: rename of \"c.txt\"");
    pressZ(Qt::ControlModifier);
    EXPECT_EQ(snapshot(m_src), start);
    pressZ(Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(status(), " Redone: move to trash of 2 items");
    EXPECT_FALSE(lists(left(), "a.txt"));

    std::unordered_set<std::string> many;
    for (int n = 0; n < 11; ++n)
        many.insert(std::filesystem::path(m_home.write("src/n" + std::to_string(n))).filename());
    left().reload();
    waitForJobs();
    left().setMarks(many);
    EXPECT_EQ(press(Qt::Key_Delete, { no }),
        ShownDialogs { question("Move to Trash", "Move 11 items to the trash?") });
    left().setMarks({});

    // Where no trash can be made the item stays, unless the permanent delete is chosen for it.
    std::filesystem::remove_all(m_home / ".local/share/Trash");
    m_home.write(".local/share/Trash", "in the way");
    cursorTo("c.txt");
    const std::string refusal = "1 item(s) cannot be moved to the trash:\nc.txt\n\n"
        + m_home / ".local/share/Trash"
        + " is not a trash folder of yours.\n\nDelete them permanently instead? This cannot be undone.";
    EXPECT_EQ(press(Qt::Key_Delete, { no }),
        ShownDialogs {
            question("Move to Trash", refusal, "[ Delete Permanently ]", ButtonTone::destructive) });
    EXPECT_TRUE(lists(left(), "c.txt"));
    press(Qt::Key_Delete, { ok });
    waitForJobs();
    EXPECT_FALSE(std::filesystem::exists(m_src + "/c.txt"));
}

TEST_F(FileOperationCommandsTest, DeleteAsksWithTheNamesThenRemovesFolderAndLinkButNotTheLinksTarget)
{
    const std::string target = m_home.write("kept/precious.txt", "precious");
    std::filesystem::create_directory_symlink(m_home / "kept", m_src + "/link");
    left().reload();
    waitForJobs();
    mark({ "box", "a.txt", "link" });
    const auto before = disk();
    // The question names what goes, and its OK button is drawn as destructive.
    EXPECT_EQ(press(Qt::Key_F8, { no }),
        ShownDialogs { question(
            "Delete", "Delete 3 item(s)?\nbox, a.txt, link", "[ Delete ]", ButtonTone::destructive) });
    EXPECT_EQ(disk(), before);
    EXPECT_EQ(marks(), 3u);

    press(Qt::Key_F8, { ok });
    EXPECT_EQ(snapshot(m_src), (Tree { { "b.txt", "beta" }, { "c.txt", "gamma" } }));
    EXPECT_EQ(readFile(target), "precious");
    EXPECT_EQ(marks(), 0u);
}

TEST_F(FileOperationCommandsTest,
    ViewOpensAWindowPerFileEditInsideAnArchiveOnlyReadsAnExtractedCopyNeitherOpensADeadLinkOrBinary)
{
    for (auto name : { "a.txt", "a.txt", "box", ".." }) {
        cursorTo(name);
        press(Qt::Key_F3);
    }
    const auto viewers = [] {
        QWidgetList found = QApplication::topLevelWidgets();
        found.removeIf([](QWidget* window) { return !window->windowTitle().startsWith("View: "); });
        return found;
    };
    ASSERT_EQ(viewers().size(), 2);

    m_home.run("cd src && zip -q pack.zip a.txt");
    left().reload();
    waitForJobs();
    const std::string archiveBytes = readFile(m_src + "/pack.zip");
    cursorTo("pack.zip");
    // The viewers shown meanwhile took the activation, and with it F4.
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    press(Qt::Key_Return);
    press({ Qt::Key_Down, Qt::Key_F4 }); // a.txt in the archive
    ASSERT_NE(right().editorView(), nullptr);
    EXPECT_TRUE(left().isActive());
    // A save would change only the copy: the editor reads it, and Ctrl+S says why it saves nothing.
    QTest::keyClicks(QApplication::focusWidget(), "edited ");
    EXPECT_EQ(answering({ ok },
                  [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier); })
                  .at(0)
                  .title,
        "Can't Save");
    const std::string copy = right().editorView()->filePath();
    EXPECT_EQ(readFile(copy), "alpha");
    EXPECT_EQ(readFile(m_src + "/pack.zip"), archiveBytes);
    ASSERT_EQ(copy.rfind(std::filesystem::temp_directory_path().string() + "/kiv-mac-", 0), 0u) << copy;

    // The listing is cached; with the archive gone no copy can be made, and that is said.
    std::filesystem::remove(m_src + "/pack.zip");
    EXPECT_EQ(press(Qt::Key_F3, { ok }).at(0).title, "Job Ended");
    viewers().front()->close(); // and is freed
    EXPECT_TRUE(QTest::qWaitFor([&] { return viewers().size() == 1; }));

    // A link that leads to no file says where it leads instead.
    std::filesystem::create_directory_symlink(m_src + "/box", m_src + "/boxlink");
    std::filesystem::create_symlink(m_home / "nowhere", m_src + "/dangling");
    std::filesystem::create_symlink(m_src + "/loop", m_src + "/loop");
    press(Qt::Key_Backspace);
    const auto said = [&](const char* name, Qt::Key key) {
        cursorTo(name);
        return press(key, { ok }).at(0).message;
    };
    EXPECT_EQ(said("dangling", Qt::Key_F3), "dangling points to nothing: what it names does not exist.");
    EXPECT_EQ(said("loop", Qt::Key_F4), "loop is a link that leads round in a loop, to no file.");
    EXPECT_EQ(said("boxlink", Qt::Key_F3), "boxlink is a link to a folder; Return enters it.");
    EXPECT_EQ(viewers().size(), 1);

    // Bytes that are not UTF-8 text open no editor: an empty one would invite a save over what it
    // never showed.
    const std::string binary = "\x89PNG\r\n\x1a\n\xff\xfe";
    m_home.write("src/image.png", binary);
    left().reload();
    waitForJobs();
    EXPECT_EQ(said("image.png", Qt::Key_F4),
        "image.png is not UTF-8 text, and the editor would change its bytes, so the editor does not open it. F3 "
        "shows it.");
    EXPECT_EQ(right().editorView()->filePath(), copy);
    EXPECT_EQ(readFile(m_src + "/image.png"), binary);
}

TEST_F(FileOperationCommandsTest, TheFilesMenuRunsTheSameCommands)
{
    cursorTo("a.txt");
    const auto before = disk();
    EXPECT_EQ(answering({ no, no, no, no },
                  [&] {
                      for (int row = 0; row < 4; ++row)
                          chooseFromPulldown(1, row);
                  }),
        (ShownDialogs { prompt("Copy", "Copy 1 item(s) to:", m_dst),
            prompt("Rename / Move", "New name or full path for \"a.txt\":", m_dst + "/a.txt"),
            prompt("Make Directory", "Name for the new folder:", ""),
            question("Delete", "Delete 1 item(s)?\na.txt", "[ Delete ]", ButtonTone::destructive) }));
    EXPECT_EQ(disk(), before);
    chooseFromPulldown(1, 4); // Move to Trash
    waitForJobs();
    EXPECT_FALSE(lists(left(), "a.txt"));
    chooseFromPulldown(1, 14); // Undo, the Redo below it still disabled
    waitForJobs();
    EXPECT_EQ(readFile(m_src + "/a.txt"), "alpha");
}

TEST_F(FileOperationCommandsTest, NamesThatAreNotUtf8SurviveBeingOfferedAndEdited)
{
    const std::string name = "caf\xe9";
    const std::string folder = m_home.folder("d\xfcst");
    m_home.write("src/" + name, "latin-1 name");
    left().reload();
    right().goTo(folder);
    waitForJobs();
    cursorTo("a.txt");
    press(Qt::Key_F5, { ok });
    EXPECT_EQ(readFile(folder + "/a.txt"), "alpha");
    cursorTo(name);
    answerNextModal([](QWidget* modal) {
        QLineEdit* field = modal->findChild<QLineEdit*>();
        QTest::keyClick(field, Qt::Key_End);
        QTest::keyClicks(field, "-old");
        QTest::keyClick(field, Qt::Key_Return);
    });
    press(Qt::Key_F6);
    EXPECT_EQ(readFile(folder + "/" + name + "-old"), "latin-1 name");
    EXPECT_EQ(snapshot(folder).size(), 2u) << "something landed under a mangled name";
}

TEST_F(FileOperationCommandsTest, ViewEditMakeFolderAndRenameRunOnAWorkerSoAFolderThatHangsHoldsUpNoKey)
{
    auto door = std::make_shared<BlockingDoor>();
    door->released = true;
    left().goTo(PanelLocation(door, m_src), {});
    waitForJobs();
    // The key comes back at once; the job shows its progress after about 0.3 s (B: background),
    // and the panels take keys meanwhile.
    const auto hanging = [&](Qt::Key key, std::vector<Answer> answers, const std::string& title) {
        door->released = false;
        answers.push_back(pressing(Qt::Key_B));
        const ShownDialogs shown = answering(answers, [&] { QTest::keyClick(left().tableView(), key); });
        ASSERT_EQ(shown.size(), answers.size());
        EXPECT_EQ(shown.back().title, title);
        EXPECT_GE(door->waiting, 1) << "the work was done before its job";
        const int row = rowOf(left(), left().selectedEntry()->name);
        QTest::keyClick(left().tableView(), Qt::Key_Up);
        EXPECT_EQ(rowOf(left(), left().selectedEntry()->name), row - 1);
        door->released = true;
        waitForJobs();
    };
    cursorTo("b.txt");
    hanging(Qt::Key_F7, { typing("fresh") }, "Make folder");
    EXPECT_TRUE(std::filesystem::is_directory(m_src + "/fresh"));
    EXPECT_TRUE(lists(left(), "fresh"));
    cursorTo("a.txt");
    hanging(Qt::Key_F6, { typing("a2.txt") }, "Rename");
    EXPECT_EQ(readFile(m_src + "/a2.txt"), "alpha");
    EXPECT_TRUE(lists(left(), "a2.txt"));
    cursorTo("c.txt");
    hanging(Qt::Key_F4, {}, "Edit");
    ASSERT_NE(right().editorView(), nullptr);
    EXPECT_EQ(right().editorView()->findChild<EditorTextView*>()->toPlainText(), "gamma");
    cursorTo("c.txt");
    hanging(Qt::Key_F3, {}, "View");
    QWidgetList windows = QApplication::topLevelWidgets();
    EXPECT_TRUE(std::any_of(windows.begin(), windows.end(),
        [](QWidget* window) { return window->isVisible() && window->windowTitle() == "View: c.txt"; }));
}

TEST_F(FileOperationCommandsTest, OnAServersPanelViewEditMakeFolderAndDeleteActThereAndDeleteSaysItIsForGood)
{
    SshServer server;
    server.trustHostKey();
    const std::string url = server.place(m_src).url();
    goToServer(url);

    // The viewer reads a copy fetched from the server, never the local file of the same path.
    cursorTo("c.txt");
    press(Qt::Key_F3);
    QWidgetList viewers = QApplication::topLevelWidgets();
    viewers.removeIf([](QWidget* window) { return !window->windowTitle().startsWith("View: "); });
    ASSERT_EQ(viewers.size(), 1);
    EXPECT_EQ(viewers[0]->windowTitle(), "View: c.txt");
    std::vector<std::string> copies;
    for (const auto& folder : std::filesystem::directory_iterator(std::filesystem::temp_directory_path()))
        if (folder.path().filename().string().starts_with("kiv-mac-" + std::to_string(::getpid()) + "-"))
            copies.push_back(readFile(folder.path() / "c.txt"));
    EXPECT_EQ(copies, std::vector<std::string> { "gamma" });
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));

    press(Qt::Key_F7, { typing("made") });
    EXPECT_TRUE(std::filesystem::is_directory(m_src + "/made"));
    EXPECT_TRUE(lists(left(), "made")) << "the panel was not relisted";
    // Undone on the server, through its door.
    QTest::keyClick(active().tableView(), Qt::Key_Z, Qt::ControlModifier);
    waitForJobs();
    EXPECT_FALSE(std::filesystem::exists(m_src + "/made"));
    EXPECT_FALSE(lists(left(), "made"));

    // No trash on a server: Delete and F8 both ask for the permanent delete and say so.
    mark({ "box", "a.txt" });
    const std::string permanent = "Delete 2 item(s) in " + url
        + " permanently?\nbox, a.txt\n\nA server has no trash: this cannot be undone.";
    EXPECT_EQ(press(Qt::Key_Delete, { no }),
        ShownDialogs { question("Move to Trash", permanent, "[ Delete Permanently ]", ButtonTone::destructive) });
    EXPECT_EQ(marks(), 2u);
    EXPECT_EQ(press(Qt::Key_F8, { ok }),
        ShownDialogs { question("Delete", permanent, "[ Delete Permanently ]", ButtonTone::destructive) });
    EXPECT_EQ(snapshot(m_src), (Tree { { "b.txt", "beta" }, { "c.txt", "gamma" } }));
    EXPECT_FALSE(std::filesystem::exists(m_home / ".local/share/Trash/files/a.txt"));
    EXPECT_FALSE(lists(left(), "a.txt"));
    EXPECT_EQ(marks(), 0u);

    // F4 edits a copy, its title naming the server's file, and Ctrl+S writes it back there as a job.
    cursorTo("c.txt");
    press(Qt::Key_F4);
    ASSERT_NE(right().editorView(), nullptr);
    const auto title
        = [&] { return right().editorView()->findChild<RetroLabel*>("editorTitle")->text().toStdString(); };
    const auto typeAndSave = [&](const char* text) {
        auto* editor = right().editorView()->findChild<EditorTextView*>();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
    };
    typeAndSave("X");
    waitForJobs();
    EXPECT_EQ(readFile(m_src + "/c.txt"), "Xgamma");
    EXPECT_EQ(title(), " Editing: " + url + "/c.txt ");
    // Changed there since it was read: asked first, and Esc leaves it; a stopped server: the reason,
    // the file whole and the text still unsaved.
    m_home.write("src/c.txt", "their text");
    const ShownDialogs asked = answering({ no }, [&] {
        typeAndSave("Y");
        waitForJobs();
    });
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].title, "Save - Changed");
    left().goTo(m_src); // a panel on the stopped server would say so too
    waitForJobs();
    server.stop();
    const ShownDialogs failed = answering({ ok }, [&] {
        typeAndSave("Z");
        waitForJobs();
    });
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].title, "Job Ended");
    EXPECT_TRUE(failed[0].message.starts_with("Could not save " + url + "/c.txt: ")) << failed[0].message;
    EXPECT_EQ(snapshot(m_src), (Tree { { "b.txt", "beta" }, { "c.txt", "their text" } }));
    EXPECT_EQ(title(), " Editing: " + url + "/c.txt (edited) ");
}

TEST_F(FileOperationCommandsTest, F5AndF6OnAServerCopyAndRenameThereAndMoveToThisMachineOnlyWhatWasCopiedWhole)
{
    SshServer server;
    server.trustHostKey();
    goToServer(server.place(m_dst).url());
    QTest::keyClick(active().tableView(), Qt::Key_Equal, Qt::ControlModifier);
    goToServer(server.place(m_src).url());
    ASSERT_EQ(right().state().location().displayPath(), server.place(m_dst).url());

    // Within one server a copy passes through this machine and arrives whole.
    cursorTo("c.txt");
    EXPECT_EQ(press(Qt::Key_F5, { ok }),
        ShownDialogs { question("Copy", "Copy 1 item(s) to " + server.place(m_dst).url() + "?", "[ Copy ]") });
    EXPECT_EQ(readFile(m_dst + "/c.txt"), "gamma");

    // Within one server: renamed there, one item to the name typed, several into the other folder.
    cursorTo("a.txt");
    EXPECT_EQ(press(Qt::Key_F6, { typing("a2.txt") }),
        ShownDialogs { prompt("Rename / Move", "New name or full path on the server for \"a.txt\":", m_dst + "/a.txt") });
    mark({ "b.txt", "box" });
    EXPECT_EQ(press(Qt::Key_F6, { ok }),
        ShownDialogs { question("Move", "Move 2 item(s) to " + server.place(m_dst).url() + "?") });
    EXPECT_EQ(snapshot(m_home.path()),
        (Tree { { "dst", "<folder>" }, { "dst/b.txt", "beta" }, { "dst/box", "<folder>" },
            { "dst/box/inside.txt", "inside" }, { "dst/c.txt", "gamma" }, { "src", "<folder>" }, { "src/a2.txt", "alpha" },
            { "src/c.txt", "gamma" } }));

    // To this machine: a copy whose taken name is skipped leaves its source where it was.
    right().goTo(m_dst);
    m_home.write("dst/c.txt", "mine");
    waitForJobs();
    cursorTo("c.txt");
    const ShownDialogs asked = press(Qt::Key_F6, { ok, pressing(Qt::Key_S) });
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], question("Move", "Move 1 item(s) to " + m_dst + "?", "[ Move ]"));
    EXPECT_EQ(readFile(m_src + "/c.txt"), "gamma");
    EXPECT_EQ(readFile(m_dst + "/c.txt"), "mine");
    cursorTo("a2.txt");
    press(Qt::Key_F6, { ok });
    EXPECT_EQ(snapshot(m_src), (Tree { { "c.txt", "gamma" } }));
    EXPECT_EQ(readFile(m_dst + "/a2.txt"), "alpha");
    EXPECT_TRUE(lists(right(), "a2.txt"));

    // Out of an archive onto the server: copied, never moved; and nothing goes into an archive.
    m_home.run("cd dst && zip -q pack.zip a2.txt");
    right().reload();
    waitForJobs();
    putCursorOn(right(), "pack.zip");
    QTest::keyClick(right().tableView(), Qt::Key_Return);
    waitForJobs();
    cursorTo("c.txt");
    EXPECT_EQ(press(Qt::Key_F5, { ok }),
        ShownDialogs { notice(
            "Copy", "Can't copy into an archive view. Switch the other panel to a real folder first.") });
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    press(Qt::Key_Tab);
    cursorTo("a2.txt");
    EXPECT_EQ(press({ Qt::Key_F6, Qt::Key_F5 }, { ok, ok }),
        (ShownDialogs {
            notice("Move",
                "Can't move items from inside an archive view - use Copy (F5) to extract them first."),
            question("Copy", "Copy 1 item(s) to " + server.place(m_src).url() + "?", "[ Copy ]") }));
    EXPECT_EQ(snapshot(m_src), (Tree { { "a2.txt", "alpha" }, { "c.txt", "gamma" } }));
    QTest::keyClick(active().tableView(), Qt::Key_Z, Qt::ControlModifier);
    waitForJobs();
    EXPECT_EQ(snapshot(m_src), (Tree { { "c.txt", "gamma" } })) << "the copy onto the server is undone there";
}
