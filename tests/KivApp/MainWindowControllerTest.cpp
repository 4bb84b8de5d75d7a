#include "MainWindowController.h"
#include "CommandLineBar.h"
#include "CommandLineField.h"
#include "DialogDriver.h"
#include "MainRootView.h"
#include "MainWindow.h"
#include "PanelTableView.h"
#include "PanelViewController.h"
#include "ProgramTest.h"
#include "PulldownMenuBarView.h"
#include "RetroDialogView.h"
#include "RetroDialogWindow.h"
#include "RetroLabel.h"
#include "RetroMenuPanel.h"
#include "RetroMenuSession.h"
#include "RetroMenuView.h"
#include "RetroSplitView.h"
#include "TempDir.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kiv;
using kiv::test::answerNextModal;
using kiv::test::TempDir;

namespace {

// Records the keys that reach a widget.
class KeyRecorder : public QObject
{
public:
    std::vector<int> keys;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            keys.push_back(static_cast<QKeyEvent*>(event)->key());
        return false;
    }
};

struct DialogSeen
{
    QString title;
    QString message;
};

// Answers the next modal dialog with Escape and reports what it said.
std::shared_ptr<DialogSeen> dismissNextDialog()
{
    auto seen = std::make_shared<DialogSeen>();
    answerNextModal([seen](QWidget* modal) {
        if (auto* dialog = qobject_cast<RetroDialogWindow*>(modal)) {
            seen->title = dialog->dialogView()->titleText();
            seen->message = dialog->dialogView()->messageText();
        }
        QTest::keyClick(kiv::test::keyTarget(modal), Qt::Key_Escape);
    });
    return seen;
}

// The whole program's window on a home folder of its own, shown and settled.
class MainWindowControllerTest : public kiv::test::ProgramTest
{
protected:
    void SetUp() override
    {
        m_docs = m_home.folder("docs");
        m_home.folder("music");
        m_home.write("notes.txt", "first line\n");
        m_home.write(".profile");
        startProgram();
    }

    QString prompt() { return root().commandLine()->promptLabel()->text(); }
    static QString promptFor(const std::string& path) { return QString::fromStdString(path) + " $ "; }

    // Chooses entry `row` (0-based among the selectable ones) of the open pulldown menu by keys.
    static void chooseFromOpenMenu(int row)
    {
        ASSERT_NE(RetroMenuSession::current(), nullptr);
        RetroMenuView* menu = RetroMenuSession::current()->panel()->menuView();
        for (int step = 0; step <= row; ++step)
            QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    }
    void openPulldown(int index)
    {
        const QRectF frame = root().menuBar()->itemFrames().at(index);
        QTest::mouseClick(root().menuBar(), Qt::LeftButton, {}, frame.center().toPoint());
    }

    std::string m_docs;
};

} // namespace

TEST_F(MainWindowControllerTest, TabSwitchesPanelsAndThePromptFollowsOnlyTheActivePanel)
{
    EXPECT_EQ(window().windowTitle(), "Tavrin");
    EXPECT_EQ(window().size(), QSize(1100, 680));
    EXPECT_EQ(prompt(), promptFor(m_home.path()));
    EXPECT_TRUE(left().isActive());

    showFolder(right(), m_docs);
    EXPECT_EQ(prompt(), promptFor(m_home.path()));

    QTest::keyClick(left().tableView(), Qt::Key_Tab);
    EXPECT_TRUE(right().tableView()->hasFocus());
    EXPECT_EQ(&m_controller->activePanel(), &right());
    EXPECT_TRUE(right().isActive());
    EXPECT_FALSE(left().isActive());
    EXPECT_EQ(prompt(), promptFor(m_docs));

    // The command line takes the keys without taking the active panel's place; Escape leaves it.
    m_controller->focusCommandLine();
    EXPECT_TRUE(root().commandLine()->field()->hasFocus());
    EXPECT_EQ(&m_controller->activePanel(), &right());
    QTest::keyClick(root().commandLine()->field(), Qt::Key_Escape);
    EXPECT_TRUE(right().tableView()->hasFocus());

    QTest::keyClick(right().tableView(), Qt::Key_Backtab);
    EXPECT_EQ(&m_controller->activePanel(), &left());
    EXPECT_EQ(prompt(), promptFor(m_home.path()));
}

TEST_F(MainWindowControllerTest, FunctionKeysReachTheControllerFromCommandLineAndEditorButF11ReachesTheWidget)
{
    CommandLineField* field = root().commandLine()->field();
    KeyRecorder fieldKeys;
    field->installEventFilter(&fieldKeys);
    m_controller->focusCommandLine();
    QTest::keyClicks(field, "ls");
    QTest::keyClick(field, Qt::Key_F9);
    ASSERT_NE(RetroMenuSession::current(), nullptr); // F9 opened the "Left" pulldown
    RetroMenuSession::current()->end(nullptr);
    QTest::keyClick(field, Qt::Key_F11);
    EXPECT_EQ(field->text(), "ls");
    EXPECT_EQ(std::count(fieldKeys.keys.begin(), fieldKeys.keys.end(), Qt::Key_F9), 0);
    EXPECT_EQ(std::count(fieldKeys.keys.begin(), fieldKeys.keys.end(), Qt::Key_F11), 1);

    // The editor opens opposite the active panel; function keys and Ctrl+S still reach the window.
    const std::string notes = m_home / "notes.txt";
    m_controller->presentInlineEditor(notes);
    auto* editor = qobject_cast<QPlainTextEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(right().view()->isAncestorOf(editor));
    EXPECT_EQ(&m_controller->activePanel(), &left());
    auto quitQuestion = dismissNextDialog();
    QTest::keyClick(editor, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(quitQuestion->message, "Quit Tavrin?");
    EXPECT_TRUE(window().isVisible());
    QTest::keyClick(editor, Qt::Key_X);
    QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(kiv::test::readFile(notes), "xfirst line\n");
}

TEST_F(MainWindowControllerTest, PanelsShareTheWidthEquallyAtEveryWindowWidthAfterADraggedDivider)
{
    RetroSplitView* split = root().splitView();
    for (int width : { 700, 1101, 1600, 1100 }) {
        split->setSizes({ 150, 900 }); // the user dragged the divider aside
        window().resize(width, 500);
        ASSERT_TRUE(QTest::qWaitFor([&] { return split->width() == width; })) << width;
        EXPECT_EQ(split->height(), 500 - 62);
        const int leftWidth = left().view()->width();
        const int rightWidth = right().view()->width();
        EXPECT_LE(rightWidth - leftWidth, 1) << width;
        EXPECT_GE(rightWidth - leftWidth, 0) << width;
        EXPECT_EQ(leftWidth + RetroSplitView::dividerThickness + rightWidth, width);
    }
}

TEST_F(MainWindowControllerTest, HiddenFilesToggleForOnePanelOrBothFromThePulldowns)
{
    EXPECT_FALSE(lists(left(), ".profile"));
    QTest::keyClick(left().tableView(), Qt::Key_F9); // "Left"
    chooseFromOpenMenu(1); // "Toggle Hidden Files"
    EXPECT_TRUE(lists(left(), ".profile"));
    EXPECT_FALSE(lists(right(), ".profile"));

    openPulldown(3); // "Options"
    chooseFromOpenMenu(0); // "Toggle Hidden Files (Both Panels)": the opposite of the left's
    EXPECT_FALSE(lists(left(), ".profile"));
    EXPECT_FALSE(lists(right(), ".profile"));

    openPulldown(4); // "Right"
    chooseFromOpenMenu(1);
    EXPECT_TRUE(lists(right(), ".profile"));
    openPulldown(3);
    chooseFromOpenMenu(0);
    EXPECT_TRUE(lists(left(), ".profile"));
    EXPECT_TRUE(lists(right(), ".profile"));
}

TEST_F(MainWindowControllerTest, GoToHomeFolderActsOnTheNamedPanelEvenWhenInactive)
{
    showFolder(left(), m_docs);
    showFolder(right(), m_home / "music");
    openPulldown(4); // "Right"
    chooseFromOpenMenu(2); // "Go to Home Folder"
    EXPECT_EQ(right().state().location().path(), m_home.path());
    EXPECT_TRUE(lists(right(), "notes.txt"));
    EXPECT_EQ(&m_controller->activePanel(), &left());
    EXPECT_EQ(prompt(), promptFor(m_docs));
}

TEST_F(MainWindowControllerTest, RefusedFoldersShowCantOpenFolderAndThePanelStaysWhereItWas)
{
    if (!kiv::test::permissionBitsBind(m_home))
        GTEST_SKIP() << "permission bits do not bind for this user";
    const std::string locked = m_home.folder("locked");
    left().reload();
    ::chmod(locked.c_str(), 0);
    left().tableView()->moveSelection(int(&rowNamed(left(), "locked") - left().state().entries().data()));
    auto refusal = dismissNextDialog();
    QTest::keyClick(left().tableView(), Qt::Key_Return);
    EXPECT_EQ(refusal->title, "Can't Open Folder");
    EXPECT_TRUE(refusal->message.startsWith("Permission denied")) << refusal->message.toStdString();
    EXPECT_TRUE(
        refusal->message.endsWith("\n\nYou have no permission to read this folder. The panel has stayed "
                                  "where it was so you can keep browsing."));
    EXPECT_EQ(left().state().location().path(), m_home.path());

    // The same for "Go to Home Folder" when home itself is refused: the panel keeps its place.
    showFolder(right(), m_docs);
    ::chmod(m_home.path().c_str(), 0300);
    auto homeRefusal = dismissNextDialog();
    m_controller->goHomeRight();
    EXPECT_EQ(homeRefusal->title, "Can't Open Folder");
    EXPECT_EQ(right().state().location().path(), m_docs);
    ::chmod(m_home.path().c_str(), 0700);
}

TEST_F(MainWindowControllerTest, ClosingTheWindowAsksAndNoKeepsEverything)
{
    showFolder(right(), m_docs);
    auto question = dismissNextDialog();
    EXPECT_FALSE(window().close());
    EXPECT_EQ(question->title, "Quit");
    EXPECT_EQ(question->message, "Quit Tavrin?");
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(right().state().location().path(), m_docs);
}

TEST_F(MainWindowControllerTest, RealFilesAreTheFilesThemselvesOrFreshCopiesOutOfAnArchive)
{
    EXPECT_EQ(m_controller->realFilePath(rowNamed(left(), "notes.txt"), left()), m_home / "notes.txt");

    m_home.write("pack/inner/deep.txt", "packed");
    const std::string archive = m_home / "pack.tgz";
    ASSERT_EQ(std::system(("tar -czf '" + archive + "' -C '" + m_home.path() + "' pack").c_str()), 0);
    left().reload();
    ASSERT_TRUE(left().state().activate(rowNamed(left(), "pack.tgz")));
    ASSERT_TRUE(left().state().activate(rowNamed(left(), "pack")));
    ASSERT_TRUE(left().state().activate(rowNamed(left(), "inner")));
    const FileEntry deep = rowNamed(left(), "deep.txt");
    const std::optional<std::string> first = m_controller->realFilePath(deep, left());
    const std::optional<std::string> second = m_controller->realFilePath(deep, left());
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second); // every request gets a folder of its own
    const std::string folder = std::filesystem::temp_directory_path().string() + "/kiv-mac-";
    EXPECT_EQ(first->rfind(folder, 0), 0u) << *first;
    EXPECT_TRUE(first->ends_with("/pack/inner/deep.txt")) << *first;
    EXPECT_EQ(kiv::test::readFile(*first), "packed");
    for (const auto& copy : { *first, *second })
        std::filesystem::remove_all(copy.substr(0, copy.find('/', folder.size())));

    // The listing is cached; with the archive gone the extraction fails and says so.
    std::filesystem::remove(archive);
    auto failure = dismissNextDialog();
    EXPECT_EQ(m_controller->realFilePath(deep, left()), std::nullopt);
    EXPECT_EQ(failure->title, "Error");
}
