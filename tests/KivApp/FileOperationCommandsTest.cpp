#include "FileOperationCommands.h"
#include "DialogDriver.h"
#include "MainRootView.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "PanelEditorView.h"
#include "PanelTableView.h"
#include "PanelViewController.h"
#include "ProgramTest.h"
#include "PulldownMenuBarView.h"
#include "RetroDialogButton.h"
#include "RetroDialogView.h"
#include "RetroMenuPanel.h"
#include "RetroMenuSession.h"
#include "RetroMenuView.h"
#include "TempDir.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

using namespace kiv;
using kiv::test::readFile;
using kiv::test::TempDir;

namespace {

// How one dialog is answered: optionally replace the field's text, then press `key`.
struct Answer
{
    Qt::Key key = Qt::Key_Return;
    std::optional<QString> typed;
};
const Answer ok {};
const Answer no { Qt::Key_Escape, {} };
Answer typing(const QString& text)
{
    return { Qt::Key_Return, text };
}

// What one dialog showed.
struct Dialog
{
    std::string title;
    std::string message;
    std::string field;
    std::string okLabel;
    bool hasCancel = false;

    bool operator==(const Dialog&) const = default;
};
using Dialogs = std::vector<Dialog>;
using SeenDialogs = std::shared_ptr<Dialogs>;

void PrintTo(const Dialog& dialog, std::ostream* out)
{
    *out << "{" << dialog.title << " | " << dialog.message << " | field: " << dialog.field << " | "
         << dialog.okLabel << (dialog.hasCancel ? " [ Cancel ]" : "") << "}";
}

Dialog prompt(const std::string& title, const std::string& message, const std::string& field)
{
    return { title, message, field, "[ OK ]", true };
}
Dialog question(const std::string& title, const std::string& message, const std::string& okLabel = "[ OK ]")
{
    return { title, message, "", okLabel, true };
}
Dialog notice(const std::string& title, const std::string& message)
{
    return { title, message, "", "[ OK ]", false };
}

void answerInOrder(SeenDialogs seen, std::vector<Answer> answers)
{
    if (answers.empty())
        return;
    const Answer answer = answers.front();
    answers.erase(answers.begin());
    kiv::test::answerNextModal([seen, answer, rest = std::move(answers)](QWidget* modal) {
        const auto* view = modal->findChild<RetroDialogView*>();
        QLineEdit* field = view->textField();
        seen->push_back({ view->titleText().toStdString(), view->messageText().toStdString(),
            field ? field->text().toStdString() : std::string(), view->okButton()->label().toStdString(),
            view->cancelButton() != nullptr });
        if (answer.typed) {
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(field, Qt::Key_Backspace);
            QTest::keyClicks(field, *answer.typed);
        }
        QTest::keyClick(kiv::test::keyTarget(modal), answer.key);
        // The next dialog is looked for only once this one is closed.
        answerInOrder(seen, rest);
    });
}

// Answers the dialogs to come, in order, and records what each showed.
SeenDialogs answerDialogs(std::vector<Answer> answers)
{
    auto seen = std::make_shared<Dialogs>();
    answerInOrder(seen, std::move(answers));
    return seen;
}

// Everything below `root`, each path with its content, "<folder>" or the link's target.
std::map<std::string, std::string> snapshot(const std::string& root)
{
    namespace fs = std::filesystem;
    std::map<std::string, std::string> items;
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

// The whole program on a home folder of its own: the left panel on "src" (three files and a
// folder), the right panel on "dst". Keys go to the active panel; a dialog nobody answers fails
// the test instead of hanging it.
class FileOperationCommandsTest : public kiv::test::ProgramTest
{
protected:
    void SetUp() override
    {
        m_src = m_home.folder("src");
        m_dst = m_home.folder("dst");
        m_home.write("src/a.txt", "alpha");
        m_home.write("src/b.txt", "beta");
        m_home.write("src/c.txt", "gamma");
        m_home.write("src/box/inside.txt", "inside");
        startProgram();
        if (HasFatalFailure())
            return;
        showFolder(left(), m_src);
        showFolder(right(), m_dst);
        QObject::connect(&m_watchdog, &QTimer::timeout, [this] { closeForgottenDialog(); });
        m_watchdog.start(100);
    }
    void TearDown() override
    {
        m_watchdog.stop();
        ProgramTest::TearDown();
    }

    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(active().tableView(), key, modifiers);
    }
    // Walks the active panel's cursor to `name` with Home and Down.
    void cursorTo(const std::string& name)
    {
        press(Qt::Key_Home);
        for (std::size_t step = 0; step < active().state().entries().size(); ++step) {
            if (active().selectedEntry() && active().selectedEntry()->name == name)
                return;
            press(Qt::Key_Down);
        }
        ADD_FAILURE() << "no row " << name;
    }
    // Tab to the other panel. Without a window manager nobody hands the main window the keyboard
    // back after a dialog, so the test does.
    void switchPanels()
    {
        m_controller->window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_controller->window()));
        PanelViewController* other = &m_controller->otherPanel(active());
        press(Qt::Key_Tab);
        EXPECT_TRUE(QTest::qWaitFor([&] { return &active() == other; }));
    }
    void mark(std::initializer_list<std::string> names)
    {
        for (const std::string& name : names) {
            cursorTo(name);
            press(Qt::Key_Space);
        }
    }
    // Puts the active panel inside the archive `name` of its folder.
    void enterArchive(const std::string& name)
    {
        cursorTo(name);
        press(Qt::Key_Return);
        ASSERT_TRUE(active().state().location().isArchive());
    }
    // Builds an archive by running `command` in the home folder.
    void makeArchive(const std::string& command)
    {
        const std::string line = "cd '" + m_home.path() + "' && " + command + " >/dev/null";
        ASSERT_EQ(std::system(line.c_str()), 0) << line;
    }
    // Chooses item `row` (counting only items, not separators) of the "Files" pulldown by keys.
    void chooseFromFilesMenu(int row)
    {
        const QRectF title = m_controller->root().menuBar()->itemFrames().at(1);
        QTest::mouseClick(m_controller->root().menuBar(), Qt::LeftButton, {}, title.center().toPoint());
        ASSERT_NE(RetroMenuSession::current(), nullptr);
        RetroMenuView* menu = RetroMenuSession::current()->panel()->menuView();
        for (int step = 0; step <= row; ++step)
            QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    }
    std::map<std::string, std::string> disk() const { return snapshot(m_home.path()); }
    std::vector<std::string> viewerTitles() const
    {
        std::vector<std::string> titles;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->windowTitle().startsWith("View: "))
                titles.push_back(window->windowTitle().toStdString());
        return titles;
    }

    std::string m_src;
    std::string m_dst;

private:
    void closeForgottenDialog()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != m_lastModal) {
            m_lastModal = modal;
            m_modalTicks = 0;
            return;
        }
        if (modal && ++m_modalTicks > 30) {
            const auto* view = modal->findChild<RetroDialogView*>();
            ADD_FAILURE() << "unexpected dialog: " << (view ? view->titleText().toStdString() : "?");
            modal->close();
        }
    }

    QTimer m_watchdog;
    QPointer<QWidget> m_lastModal;
    int m_modalTicks = 0;
};

} // namespace

TEST_F(FileOperationCommandsTest, CopyOffersTheOtherFolderReportsTakenNamesAndClearsTheMarks)
{
    m_home.write("dst/c.txt", "older c");
    // Nothing marked and the cursor on "..": no dialog, nothing copied.
    press(Qt::Key_Home);
    press(Qt::Key_F5);

    mark({ "a.txt", "b.txt" });
    auto seen = answerDialogs({ ok });
    press(Qt::Key_F5);
    EXPECT_EQ(*seen, Dialogs { prompt("Copy", "Copy 2 item(s) to:", m_dst) });
    EXPECT_EQ(readFile(m_dst + "/a.txt"), "alpha");
    EXPECT_EQ(readFile(m_dst + "/b.txt"), "beta");
    EXPECT_TRUE(left().state().markedNames().empty());
    EXPECT_EQ(right().state().entries().size(), 4u) << "the target panel was not relisted";

    // Cancel leaves everything, marks included.
    mark({ "box", "c.txt" });
    const auto before = disk();
    seen = answerDialogs({ no });
    press(Qt::Key_F5);
    EXPECT_EQ(disk(), before);
    EXPECT_EQ(left().state().markedNames().size(), 2u);

    // A taken name is reported and left alone; the other item is still copied.
    seen = answerDialogs({ ok, ok });
    press(Qt::Key_F5);
    EXPECT_EQ(*seen,
        (Dialogs { prompt("Copy", "Copy 2 item(s) to:", m_dst),
            notice("Error", "Already exists: " + m_dst + "/c.txt") }));
    EXPECT_EQ(readFile(m_dst + "/c.txt"), "older c");
    EXPECT_EQ(readFile(m_dst + "/box/inside.txt"), "inside");
    EXPECT_TRUE(left().state().markedNames().empty());
}

TEST_F(FileOperationCommandsTest, TypedCopyDestinationsAreReadAgainstThePanelNeverTheWorkingFolder)
{
    m_home.folder("src/backup");
    m_home.folder("inbox");
    left().reload();
    cursorTo("a.txt");
    auto seen = answerDialogs({ typing("backup") });
    press(Qt::Key_F5);
    EXPECT_EQ(readFile(m_src + "/backup/a.txt"), "alpha");

    cursorTo("b.txt");
    seen = answerDialogs({ typing("~/inbox/") });
    press(Qt::Key_F5);
    EXPECT_EQ(readFile(m_home / "inbox/b.txt"), "beta");

    // An emptied field copies nothing anywhere.
    cursorTo("c.txt");
    const auto before = disk();
    seen = answerDialogs({ typing("") });
    press(Qt::Key_F5);
    EXPECT_EQ(seen->size(), 1u);
    EXPECT_EQ(disk(), before);
}

TEST_F(FileOperationCommandsTest, CopyOutOfAZipAndATgzExtractsMembersAndWholeFolders)
{
    m_home.write("pack/docs/one.txt", "one");
    m_home.write("pack/docs/deep/two.txt", "two");
    m_home.write("pack/top.txt", "top");
    makeArchive("cd pack && zip -qr ../src/pack.zip docs top.txt && tar -czf ../src/pack.tgz docs top.txt");
    left().reload();
    for (const char* name : { "pack.zip", "pack.tgz" }) {
        const std::string archive = name;
        SCOPED_TRACE(archive);
        const std::string into = m_home.folder("out-" + archive);
        showFolder(right(), into);
        enterArchive(archive);
        mark({ "docs", "top.txt" });
        auto seen = answerDialogs({ ok });
        press(Qt::Key_F5);
        EXPECT_EQ(*seen, Dialogs { prompt("Copy", "Copy 2 item(s) to:", into) });
        EXPECT_EQ(readFile(into + "/docs/one.txt"), "one");
        EXPECT_EQ(readFile(into + "/docs/deep/two.txt"), "two");
        EXPECT_EQ(readFile(into + "/top.txt"), "top");
        EXPECT_TRUE(left().state().markedNames().empty());
        press(Qt::Key_Home);
        press(Qt::Key_Return); // back out of the archive
    }
}

TEST_F(FileOperationCommandsTest, RenameInPlaceOrMoveToAPathWithOrWithoutANewName)
{
    cursorTo("a.txt");
    auto seen = answerDialogs({ typing("renamed.txt") });
    press(Qt::Key_F6);
    EXPECT_EQ(
        *seen, Dialogs { prompt("Rename / Move", "New name or full path for \"a.txt\":", m_dst + "/a.txt") });
    EXPECT_EQ(readFile(m_src + "/renamed.txt"), "alpha");
    EXPECT_FALSE(std::filesystem::exists(m_src + "/a.txt"));

    // The offered path moves the file into the other panel's folder under its own name.
    cursorTo("b.txt");
    seen = answerDialogs({ ok });
    press(Qt::Key_F6);
    EXPECT_EQ(readFile(m_dst + "/b.txt"), "beta");
    EXPECT_EQ(right().state().entries().size(), 2u) << "the target panel was not relisted";

    // A full path with a new name, and a folder path ending in "/", which keeps the name.
    cursorTo("c.txt");
    seen = answerDialogs({ typing(QString::fromStdString(m_dst + "/c-moved.txt")) });
    press(Qt::Key_F6);
    EXPECT_EQ(readFile(m_dst + "/c-moved.txt"), "gamma");
    cursorTo("box");
    seen = answerDialogs({ typing(QString::fromStdString(m_dst + "/")) });
    press(Qt::Key_F6);
    EXPECT_EQ(readFile(m_dst + "/box/inside.txt"), "inside");

    // The same name, or a path to the item itself, changes nothing and reports nothing.
    mark({ "renamed.txt" });
    const auto before = disk();
    seen = answerDialogs({ typing("renamed.txt") });
    press(Qt::Key_F6);
    EXPECT_EQ(seen->size(), 1u);
    EXPECT_TRUE(left().state().markedNames().empty());
    cursorTo("renamed.txt");
    seen = answerDialogs({ typing(QString::fromStdString(m_src + "//renamed.txt")) });
    press(Qt::Key_F6);
    EXPECT_EQ(seen->size(), 1u);
    EXPECT_EQ(disk(), before);
}

TEST_F(FileOperationCommandsTest, AFailedMoveReportsOnceAndLeavesTheItemWhereItWas)
{
    m_home.write("dst/taken.txt", "someone else");
    const auto before = disk();
    for (const std::string& path : { m_home / "missing/new.txt", m_dst + "/taken.txt" }) {
        SCOPED_TRACE(path);
        cursorTo("a.txt");
        auto seen = answerDialogs({ typing(QString::fromStdString(path)), ok });
        press(Qt::Key_F6);
        ASSERT_EQ(seen->size(), 2u);
        EXPECT_EQ(seen->at(1).title, "Error");
        EXPECT_EQ(disk(), before);
    }
    // Cancel and an emptied field do nothing either.
    cursorTo("a.txt");
    auto seen = answerDialogs({ no });
    press(Qt::Key_F6);
    seen = answerDialogs({ typing("") });
    press(Qt::Key_F6);
    EXPECT_EQ(disk(), before);
}

TEST_F(FileOperationCommandsTest, MovingSeveralAsksFirstAndNoMovesNothing)
{
    mark({ "a.txt", "b.txt", "box" });
    const auto before = disk();
    auto seen = answerDialogs({ no });
    press(Qt::Key_F6);
    EXPECT_EQ(*seen, Dialogs { question("Move", "Move 3 item(s) to " + m_dst + "?") });
    EXPECT_EQ(disk(), before);
    EXPECT_EQ(left().state().markedNames().size(), 3u);

    seen = answerDialogs({ ok });
    press(Qt::Key_F6);
    EXPECT_EQ(readFile(m_dst + "/box/inside.txt"), "inside");
    EXPECT_EQ(readFile(m_dst + "/a.txt"), "alpha");
    EXPECT_EQ(readFile(m_dst + "/b.txt"), "beta");
    EXPECT_TRUE(left().state().markedNames().empty());
}

TEST_F(FileOperationCommandsTest, ArchiveViewsRefuseEveryChangeWithTheirOwnMessage)
{
    makeArchive("cd src && zip -q ../dst/pack.zip a.txt b.txt");
    right().reload();
    switchPanels();
    enterArchive("pack.zip");
    switchPanels();
    const auto before = disk();

    mark({ "a.txt", "b.txt", "c.txt" });
    auto seen = answerDialogs({ ok, ok });
    press(Qt::Key_F6);
    press(Qt::Key_F5);
    EXPECT_EQ(*seen,
        (Dialogs { notice("Move", "Can't move into an archive view."),
            notice("Copy",
                "Can't copy into an archive view. Switch the other panel to a real folder first.") }));
    EXPECT_EQ(left().state().markedNames().size(), 3u);

    switchPanels();
    cursorTo("a.txt");
    seen = answerDialogs({ ok, ok, ok });
    press(Qt::Key_F6);
    press(Qt::Key_F7);
    press(Qt::Key_F8);
    EXPECT_EQ(*seen,
        (Dialogs { notice("Move",
                       "Can't move items from inside an archive view - use Copy (F5) to extract them first."),
            notice("Make Directory", "Can't create a folder inside an archive view."),
            notice("Delete", "Can't delete items from inside an archive view.") }));
    EXPECT_EQ(disk(), before);
}

TEST_F(FileOperationCommandsTest, MakeDirectoryIgnoresAnEmptyNameAndNeverTakesAnExistingOne)
{
    const auto before = disk();
    auto seen = answerDialogs({ ok });
    press(Qt::Key_F7);
    EXPECT_EQ(*seen, Dialogs { prompt("Make Directory", "Name for the new folder:", "") });
    EXPECT_EQ(disk(), before);

    seen = answerDialogs({ typing("box"), ok });
    press(Qt::Key_F7);
    ASSERT_EQ(seen->size(), 2u);
    EXPECT_EQ(seen->at(1), notice("Error", "Already exists: " + m_src + "/box"));
    EXPECT_EQ(disk(), before);

    seen = answerDialogs({ typing("fresh") });
    press(Qt::Key_F7);
    EXPECT_TRUE(std::filesystem::is_directory(m_src + "/fresh"));
    EXPECT_EQ(active().state().entries().size(), 6u) << "the panel was not relisted";
}

TEST_F(FileOperationCommandsTest, DeleteAsksWithTheNamesThenRemovesFolderAndLinkButNotTheLinksTarget)
{
    const std::string target = m_home.write("kept/precious.txt", "precious");
    std::filesystem::create_directory_symlink(m_home / "kept", m_src + "/link");
    left().reload();
    mark({ "box", "a.txt", "link" });
    const auto before = disk();
    auto seen = answerDialogs({ no });
    press(Qt::Key_F8);
    EXPECT_EQ(*seen, Dialogs { question("Delete", "Delete 3 item(s)?\nbox, a.txt, link", "[ Delete ]") });
    EXPECT_EQ(disk(), before);
    EXPECT_EQ(left().state().markedNames().size(), 3u);

    seen = answerDialogs({ ok });
    press(Qt::Key_F8);
    EXPECT_FALSE(std::filesystem::exists(m_src + "/box"));
    EXPECT_FALSE(std::filesystem::exists(m_src + "/a.txt"));
    EXPECT_FALSE(std::filesystem::is_symlink(m_src + "/link"));
    EXPECT_EQ(readFile(target), "precious");
    EXPECT_EQ(readFile(m_src + "/b.txt"), "beta");
    EXPECT_TRUE(left().state().markedNames().empty());
}

TEST_F(FileOperationCommandsTest, ViewOpensANewWindowEachTimeButNotForAFolder)
{
    cursorTo("a.txt");
    press(Qt::Key_F3);
    press(Qt::Key_F3);
    EXPECT_EQ(viewerTitles(), (std::vector<std::string> { "View: a.txt", "View: a.txt" }));
    cursorTo("box");
    press(Qt::Key_F3);
    press(Qt::Key_Home);
    press(Qt::Key_F3);
    EXPECT_EQ(viewerTitles().size(), 2u);
}

TEST_F(FileOperationCommandsTest, EditInsideAnArchiveEditsAnExtractedCopyAndLeavesTheArchive)
{
    makeArchive("cd src && zip -q ../src/pack.zip a.txt");
    left().reload();
    const std::string archiveBytes = readFile(m_src + "/pack.zip");
    enterArchive("pack.zip");
    cursorTo("a.txt");
    press(Qt::Key_F4);
    PanelEditorView* editor = right().editorView();
    ASSERT_NE(editor, nullptr);
    const std::string copy = editor->filePath();
    const std::string temporary = std::filesystem::temp_directory_path().string() + "/kiv-mac-";
    EXPECT_EQ(copy.rfind(temporary, 0), 0u) << copy;
    EXPECT_TRUE(left().isActive());

    QTest::keyClicks(QApplication::focusWidget(), "edited ");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(readFile(copy), "edited alpha");
    EXPECT_EQ(readFile(m_src + "/pack.zip"), archiveBytes);
    std::filesystem::remove_all(copy.substr(0, copy.find('/', temporary.size())));
}

TEST_F(FileOperationCommandsTest, QuitAnsweredNoKeepsTheProgramRunning)
{
    auto seen = answerDialogs({ no });
    press(Qt::Key_F10);
    EXPECT_EQ(*seen, Dialogs { question("Quit", "Quit Tavrin?") });
    EXPECT_TRUE(m_controller->window().isVisible());
}

TEST_F(FileOperationCommandsTest, TheFilesMenuRunsTheSameCommands)
{
    cursorTo("a.txt");
    const auto before = disk();
    auto seen = answerDialogs({ no, no, no, no });
    for (int row = 0; row < 4; ++row)
        chooseFromFilesMenu(row);
    EXPECT_TRUE(QTest::qWaitFor([&] { return seen->size() == 4u; }));
    EXPECT_EQ(*seen,
        (Dialogs { prompt("Copy", "Copy 1 item(s) to:", m_dst),
            prompt("Rename / Move", "New name or full path for \"a.txt\":", m_dst + "/a.txt"),
            prompt("Make Directory", "Name for the new folder:", ""),
            question("Delete", "Delete 1 item(s)?\na.txt", "[ Delete ]") }));
    EXPECT_EQ(disk(), before);
}

TEST_F(FileOperationCommandsTest, PathsThatAreNotUtf8SurviveTheOfferedAnswer)
{
    const std::string name = "caf\xe9.txt";
    const std::string folder = m_home.folder("d\xfcst");
    m_home.write("src/" + name, "latin-1 name");
    left().reload();
    showFolder(right(), folder);
    cursorTo("a.txt");
    auto seen = answerDialogs({ ok });
    press(Qt::Key_F5);
    EXPECT_EQ(readFile(folder + "/a.txt"), "alpha");
    cursorTo(name);
    seen = answerDialogs({ ok });
    press(Qt::Key_F6);
    EXPECT_EQ(seen->size(), 1u);
    EXPECT_EQ(readFile(folder + "/" + name), "latin-1 name");
    EXPECT_FALSE(std::filesystem::exists(m_src + "/" + name));
    EXPECT_EQ(snapshot(folder).size(), 2u) << "something landed under a mangled name";
}
