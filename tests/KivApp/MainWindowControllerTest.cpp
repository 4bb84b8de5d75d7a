#include "ProgramTest.h"
#include "commands/ToolCommands.h"
#include "console/CommandLineBar.h"
#include "console/CommandLineField.h"
#include "toolkit/RetroLabel.h"
#include "toolkit/RetroMenuPanel.h"
#include "toolkit/RetroMenuSession.h"
#include "toolkit/RetroMenuView.h"
#include "toolkit/ShownText.h"

#include <QApplication>
#include <QDesktopServices>
#include <QPlainTextEdit>
#include <QTimer>

using namespace kiv;
using namespace kiv::test;

namespace {

// Takes the file URLs the program asks the desktop to open, in place of the desktop.
class OpenedFiles : public QObject
{
    Q_OBJECT
public:
    OpenedFiles() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~OpenedFiles() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    std::vector<QByteArray> paths; // the bytes each URL names, in order
public slots:
    void open(const QUrl& url)
    {
        paths.push_back(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
    }
};

// The whole program's window on a home folder of its own, shown and settled.
class MainWindowControllerTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        m_home.folder("music");
        m_home.write("notes.txt", "first line\n");
        m_home.write(".profile");
        startProgram();
    }

    std::string commandPrompt() { return root().commandLine()->promptLabel()->text().toStdString(); }

    // Runs the event loop with `action` queued on it, answering its dialogs with `answers`;
    // returns whether the program ended within 3 s.
    bool endsProgram(std::vector<Answer> answers, const std::function<void()>& action)
    {
        QTimer giveUp;
        giveUp.callOnTimeout([] { QCoreApplication::exit(1); });
        giveUp.start(3000);
        QTimer::singleShot(0, [&] { answering(answers, action); });
        return QCoreApplication::exec() == 0;
    }

    const std::string m_docs = m_home.folder("docs");
};

} // namespace

// MainWindowTest covers which keys the window takes first; here they reach the commands bound to them.
TEST_F(
    MainWindowControllerTest, FunctionKeysReachTheirCommandsFromTheCommandLineAndTheEditorWhoseListStaysOut)
{
    // The prompt follows the active panel; the command line takes the keys without taking the
    // active panel's place, and Escape gives them back to it.
    right().goTo(m_docs);
    waitForJobs();
    press(Qt::Key_Tab);
    EXPECT_EQ(commandPrompt(), m_docs + " $ ");
    CommandLineField* field = root().commandLine()->field();
    field->setFocus();
    QTest::keyClicks(field, "ls");
    QTest::keyClick(field, Qt::Key_F9);
    ASSERT_NE(RetroMenuSession::current(), nullptr); // F9 opened the "Left" pulldown
    RetroMenuSession::current()->end(nullptr);
    EXPECT_EQ(field->text(), "ls");
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(right().tableView()->hasFocus());
    press(Qt::Key_Tab);

    // In the inactive panel's editor function keys and Ctrl+S still reach the window, and the quit
    // question answered no, there or on closing the window, keeps everything.
    putCursorOn(left(), "notes.txt");
    press(Qt::Key_F4);
    ASSERT_NE(right().editorView(), nullptr);
    auto* editor = right().editorView()->findChild<QPlainTextEdit*>();
    window().activateWindow(); // the pulldown closed above hands the activation back late
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    EXPECT_EQ(&active(), &left());
    bool closed = true;
    EXPECT_EQ(answering({ no, no },
                  [&] {
                      QTest::keyClick(editor, Qt::Key_F10, Qt::ShiftModifier);
                      closed = window().close();
                  }),
        ShownDialogs(2, question("Quit", "Quit Tavrin?")));
    EXPECT_FALSE(closed);
    EXPECT_TRUE(window().isVisible());
    QTest::keyClick(editor, Qt::Key_X);
    QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
    waitForJobs();
    EXPECT_EQ(readFile(m_home / "notes.txt"), "xfirst line\n");

    // The list under the editor never takes the focus, by Shift+Tab from the command line or given it.
    window().activateWindow(); // the dialogs took the activation
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    field->setFocus();
    for (int step = 1; step <= 4; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_FALSE(right().tableView()->hasFocus()) << "after Shift+Tab " << step;
    }
    right().tableView()->setFocus();
    EXPECT_EQ(QApplication::focusWidget(), editor);
    EXPECT_EQ(&active(), &left());
}

TEST_F(MainWindowControllerTest, ReturnOpensAFileWhoseNameIsNotUtf8ByItsOwnBytesOrSaysNothingOpensIt)
{
    const std::string file = m_home.write("caf\xE9 #1.txt", "x");
    left().reload();
    waitForJobs();
    putCursorOn(left(), "caf\xE9 #1.txt");
    {
        // No desktop and no opener on the path: the key says so instead of doing nothing.
        ScopedEnvironment noPrograms("PATH", m_home.folder("no-programs").c_str());
        ScopedEnvironment noBrowser("BROWSER", nullptr);
        ScopedEnvironment noDesktop("XDG_CURRENT_DESKTOP", nullptr);
        EXPECT_EQ(press(Qt::Key_Return, { ok }),
            ShownDialogs { notice("Can't Open File",
                "No application could be started to open " + ShownText::of("caf\xE9 #1.txt").toStdString()
                    + ": the desktop has no opener for files. F3 views the file and F4 edits it.") });
    }
    OpenedFiles desktop;
    EXPECT_TRUE(press(Qt::Key_Return).empty());
    EXPECT_EQ(desktop.paths, std::vector { QByteArray::fromStdString(file) });
}

TEST_F(MainWindowControllerTest, QuittingAsksAboutUnsavedEditorTextFirstAndYesEndsTheProgramWithAViewerOpen)
{
    putCursorOn(left(), "notes.txt");
    press(Qt::Key_F3); // the viewer window stays open to the end
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    press(Qt::Key_F4);
    const std::string notes = m_home / "notes.txt";
    QWidget* editor = right().editorView()->findChild<QPlainTextEdit*>();
    QTest::keyClick(editor, Qt::Key_A);

    // The editor's own question comes first: Cancel there asks nothing more; Save saves as a job,
    // closes the editor once the text is written and asks the quit question then.
    EXPECT_EQ(answering({ no }, [&] { EXPECT_FALSE(window().close()); }),
        ShownDialogs { unsavedChanges("notes.txt") });
    EXPECT_EQ(answering({ save, no },
                  [&] {
                      QTest::keyClick(editor, Qt::Key_F10);
                      waitForJobs();
                  }),
        (ShownDialogs { unsavedChanges("notes.txt"), question("Quit", "Quit Tavrin?") }));
    EXPECT_EQ(readFile(notes), "afirst line\n");
    EXPECT_EQ(right().editorView(), nullptr);

    // Ctrl+Q asks only about the text; Discard there ends the program, as yes to the quit question
    // does from the close button, though the viewer is still open.
    press(Qt::Key_F4);
    editor = right().editorView()->findChild<QPlainTextEdit*>();
    QTest::keyClick(editor, Qt::Key_B);
    EXPECT_TRUE(endsProgram({ ok }, [&] { m_controller->toolCommands().quitAtOnce(); }));
    EXPECT_EQ(readFile(notes), "afirst line\n");
    EXPECT_TRUE(endsProgram({ ok, ok }, [&] { window().close(); }));
}

TEST_F(MainWindowControllerTest, PulldownsToggleHiddenFilesPerPanelOrBothAndGoHomeOnTheNamedPanel)
{
    const auto shown = [&] { return std::pair { lists(left(), ".profile"), lists(right(), ".profile") }; };
    EXPECT_EQ(shown(), std::pair(false, false));
    // From the keyboard alone: F9 opens "Left" on its first entry, a letter chooses, Left wraps
    // round to "Right" and on to "Options".
    const auto menuKeys = [this](std::initializer_list<Qt::Key> keys) {
        for (Qt::Key key : keys)
            QTest::keyClick(RetroMenuSession::current()->panel()->menuView(), key);
        waitForJobs();
    };
    press(Qt::Key_F9);
    EXPECT_EQ(RetroMenuSession::current()->panel()->menuView()->highlightedRow(), 0);
    menuKeys({ Qt::Key_T }); // "Toggle Hidden Files"
    EXPECT_EQ(shown(), std::pair(true, false));
    press(Qt::Key_F9);
    menuKeys({ Qt::Key_Left, Qt::Key_Left,
        Qt::Key_T }); // "Toggle Hidden Files (Both Panels)": the opposite of the left's
    EXPECT_EQ(shown(), std::pair(false, false));
    chooseFromPulldown(4, 1); // "Right", "Toggle Hidden Files"
    EXPECT_EQ(shown(), std::pair(false, true));
    chooseFromPulldown(3, 0);
    EXPECT_EQ(shown(), std::pair(true, true));

    // "Go to Home Folder" acts on the panel it names even when that one is not active.
    left().goTo(m_docs);
    right().goTo(m_home / "music");
    waitForJobs();
    chooseFromPulldown(4, 2); // "Right", "Go to Home Folder"
    EXPECT_TRUE(lists(right(), "notes.txt"));
    EXPECT_EQ(commandPrompt(), m_docs + " $ ");
}

TEST_F(MainWindowControllerTest, RefusedFoldersShowCantOpenFolderAndThePanelStaysWhereItWas)
{
    // A damaged archive is named an archive.
    m_home.write("broken.zip", "PK\x03\x04 not really a zip");
    left().reload();
    waitForJobs();
    putCursorOn(left(), "broken.zip");
    const ShownDialogs broken = press(Qt::Key_Return, { ok });
    ASSERT_EQ(broken.size(), 1u);
    EXPECT_EQ(broken[0].title, "Can't Open Archive");
    EXPECT_EQ(left().state().location().path(), m_home.path());

    if (!permissionBitsBind(m_home))
        GTEST_SKIP() << "permission bits do not bind for this user";
    const std::string locked = m_home.folder("locked");
    left().reload();
    waitForJobs();
    ::chmod(locked.c_str(), 0);
    putCursorOn(left(), "locked");
    EXPECT_EQ(press(Qt::Key_Return, { ok }),
        ShownDialogs { notice("Can't Open Folder",
            "Permission denied: " + locked
                + "\n\nYou have no permission to read this folder. The panel has stayed where it was so "
                  "you can keep browsing.") });
    EXPECT_EQ(left().state().location().path(), m_home.path());

    // The same for "Go to Home Folder" when home itself is refused: the panel keeps its place.
    right().goTo(m_docs);
    waitForJobs();
    ::chmod(m_home.path().c_str(), 0300);
    const ShownDialogs homeRefusal = answering({ ok }, [&] { chooseFromPulldown(4, 2); });
    ::chmod(m_home.path().c_str(), 0700);
    EXPECT_EQ(homeRefusal.at(0).title, "Can't Open Folder");
    EXPECT_EQ(right().state().location().path(), m_docs);
}

#include "MainWindowControllerTest.moc"

TEST_F(MainWindowControllerTest, StartPlacesOpenTheirPanelsAFileWithTheCursorOnItAndABadPathHomeSayingSo)
{
    const auto restart = [&](std::vector<std::string> paths, std::vector<Answer> answers = {}) {
        finishTestDialogs();
        m_controller.reset();
        const ShownDialogs shown = answering(answers, [&] {
            m_controller = std::make_unique<MainWindowController>(StartPaths { std::move(paths), m_home.path() });
            m_controller->showWindow();
            waitForJobs();
        });
        waitForJobs();
        return shown;
    };
    const auto place = [](PanelViewController& panel) { return panel.state().location().path(); };
    right().goTo(m_docs);
    waitForJobs();

    // A panel given no place opens where it was.
    restart({ "music" });
    EXPECT_EQ(std::pair(place(left()), place(right())), std::pair(m_home / "music", m_docs));

    const ShownDialogs told = restart({ m_home / "notes.txt", "gone" }, { ok });
    EXPECT_EQ(told,
        ShownDialogs { notice("Can't Open Folder",
            "No such file or directory: " + m_home / "gone"
                + "\n\nThe right panel shows your home folder instead.") });
    EXPECT_EQ(std::pair(place(left()), place(right())), std::pair(m_home.path(), m_home.path()));
    ASSERT_TRUE(left().selectedEntry());
    EXPECT_EQ(left().selectedEntry()->name, "notes.txt");
}
