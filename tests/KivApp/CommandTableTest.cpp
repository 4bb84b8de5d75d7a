#include "commands/CommandTable.h"
#include "ProgramTest.h"
#include "commands/KeyRouter.h"
#include "commands/ShellCommands.h"
#include "console/CommandLineBar.h"
#include "console/CommandLineField.h"
#include "console/ConsoleView.h"
#include "jobscreen/JobRunner.h"
#include "toolkit/RetroDialogView.h"
#include "toolkit/RetroMenuPanel.h"
#include "toolkit/RetroMenuSession.h"
#include "toolkit/RetroMenuView.h"
#include "window/PulldownMenuBarView.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <set>

using namespace kiv;
using namespace kiv::test;

namespace {

// The program's window, its keys and menus read from its command table.
class CommandTableTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        m_home.write("notes.txt", "x");
        m_home.folder("docs");
        startProgram();
    }

    const CommandTable& table() { return m_controller->commandTable(); }
    ConsoleView* console() { return m_controller->shellCommands().console(); }

    // Every key of every row the window routes, with the row's id.
    std::vector<std::pair<QKeySequence, std::string>> windowKeys()
    {
        std::vector<std::pair<QKeySequence, std::string>> keys;
        for (const Action& action : table().actions())
            if (action.run && action.when != Action::told)
                for (const QKeySequence& key : action.keys)
                    keys.emplace_back(key, action.id);
        return keys;
    }

    // Runs `line` from the command line and waits until its command has ended.
    void runToTheEnd(const QString& line)
    {
        root().commandLine()->field()->setText(line);
        m_controller->shellCommands().submitCommandLine();
        ASSERT_NE(console(), nullptr);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !console()->isRunning(); }, 10'000));
        waitForJobs();
    }

    // What a key acting behind the console would change.
    struct Scene
    {
        PanelSettings left, right;
        std::unordered_set<std::string> leftMarks, rightMarks;
        std::ptrdiff_t leftCursor, rightCursor;
        const PanelViewController* active;
        QString commandLine;
        bool menuOpen, jobsIdle, minimised;
        int windows;

        bool operator==(const Scene&) const = default;
    };
    Scene scene()
    {
        int windows = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            windows += widget->isVisible() ? 1 : 0;
        return { left().settings(), right().settings(), left().state().markedNames(),
            right().state().markedNames(), left().state().cursorIndex(), right().state().cursorIndex(),
            &active(), root().commandLine()->field()->text(), RetroMenuSession::current() != nullptr,
            m_controller->jobs().isIdle(), window().isMinimized(), windows };
    }

    static void click(QWidget* target, const QKeySequence& key)
    {
        QTest::keyClick(target, key[0].key(), key[0].keyboardModifiers());
    }
};

// The items of pulldown `menu`, opened from the menu bar.
std::vector<RetroMenuItem> pulldown(MainRootView& root, int menu)
{
    const QRectF title = root.menuBar()->itemFrames().at(menu);
    QTest::mouseClick(root.menuBar(), Qt::LeftButton, {}, title.center().toPoint());
    std::vector<RetroMenuItem> items;
    for (const RetroMenuView::Row& row : RetroMenuSession::current()->panel()->menuView()->rows())
        items.push_back(row.item);
    RetroMenuSession::current()->end(nullptr);
    return items;
}

} // namespace

TEST_F(CommandTableTest, NoTwoRowsShareAKeyWhereTheyActAndEveryRoutedRowRuns)
{
    std::set<std::string> ids;
    const std::vector<Action>& actions = table().actions();
    for (std::size_t at = 0; at < actions.size(); ++at) {
        const Action& one = actions[at];
        EXPECT_TRUE(ids.insert(one.id).second) << one.id << " twice";
        EXPECT_EQ(one.when == Action::told, !one.run) << one.id << ": routed without a handler, or never";
        EXPECT_EQ(one.keys.empty(), one.help.isEmpty()) << one.id << ": keys told without a text, or none";
        for (std::size_t later = at + 1; later < actions.size(); ++later) {
            const Action& other = actions[later];
            for (const QKeySequence& key : one.keys) {
                if (std::find(other.keys.begin(), other.keys.end(), key) == other.keys.end())
                    continue;
                EXPECT_NE(one.place, other.place) << one.id << " and " << other.id << " in one place";
                EXPECT_EQ(one.when & other.when, 0u) << one.id << " and " << other.id << " on one holder";
            }
        }
    }
}

TEST_F(CommandTableTest, EveryMenuEntryShowsTheKeyThatRunsItAndHasARedLetterOfItsOwn)
{
    std::multiset<std::string> shown;
    for (int menu = 0; menu < int(PulldownMenuBarView::titles().size()); ++menu) {
        std::set<QChar> letters;
        for (const RetroMenuItem& item : pulldown(root(), menu)) {
            if (item.isSeparator)
                continue;
            EXPECT_TRUE(item.title.contains(item.key, Qt::CaseInsensitive)) << item.title.toStdString();
            EXPECT_TRUE(letters.insert(item.key.toLower()).second) << item.title.toStdString();
            // The entry's own row runs on the key it names, in a panel.
            const qsizetype open = item.title.lastIndexOf(QStringLiteral("  ("));
            if (open < 0)
                continue;
            const QString keyText = item.title.mid(open + 3).chopped(1);
            const QKeySequence key = QKeySequence::fromString(keyText, QKeySequence::NativeText);
            const Action* runs = table().actionFor(key[0], Action::panel);
            ASSERT_NE(runs, nullptr) << item.title.toStdString();
            EXPECT_TRUE(runs->menu && item.title.startsWith(runs->menu->title)) << item.title.toStdString();
            EXPECT_EQ(CommandTable::keyName(runs->keys.front()), keyText);
            shown.insert(runs->id);
        }
    }
    // Every row with a menu entry and a key shows it there: the panel menu's twice, once a panel.
    for (const Action& action : table().actions()) {
        if (action.menu && !action.keys.empty()) {
            EXPECT_EQ(shown.count(action.id), action.menu->menu == Action::Pulldown::panel ? 2u : 1u)
                << action.id;
        }
    }
}

TEST_F(CommandTableTest, TheHelpTellsEveryKeyAndKeepsWithinTheWindowWithItsKeyColumnShowing)
{
    for (int width : { 1100, 700 }) {
        window().resize(width, 400);
        answerNextModal([&](QWidget* modal) {
            QPlainTextEdit& listing = *modal->findChild<RetroDialogView*>()->listing();
            const QStringList lines = listing.toPlainText().split('\n');
            for (const Action& action : table().actions())
                for (const QKeySequence& key : action.keys) {
                    const QString start = "  " + CommandTable::keyName(key) + " ";
                    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                        [&](const QString& line) { return line.startsWith(start); }))
                        << action.id << " at " << width;
                }
            // The dialog stands within the window, and no line wraps or hides past the edge.
            EXPECT_LE(modal->width(), width);
            EXPECT_LE(modal->height(), 400);
            EXPECT_GE(modal->x(), window().x());
            const QFontMetrics metrics(listing.font());
            const qreal textWidth = listing.viewport()->width() - 2 * listing.document()->documentMargin();
            for (const QString& line : lines)
                EXPECT_LE(metrics.horizontalAdvance(line), textWidth) << line.toStdString();
            QTest::keyClick(&listing, Qt::Key_Return);
        });
        press(Qt::Key_F1);
    }
}

// While a command runs every key goes to it but the console's own, whichever widget the key is
// aimed at; once it has ended any key only closes the console. No key acts behind it.
TEST_F(CommandTableTest, BehindTheConsoleNoKeyActsAndOnceItsCommandHasEndedAnyKeyOnlyClosesIt)
{
    std::vector<std::pair<QKeySequence, std::string>> keys = windowKeys();
    for (const char* more : { "Shift+F5", "Alt+F6", "Ctrl+F9", "A" })
        keys.emplace_back(QKeySequence(QString::fromLatin1(more)), more);
    std::set<QKeySequence> consoleKeys;
    for (const Action& action : table().actions())
        if (action.place == Action::Place::console)
            consoleKeys.insert(action.keys.begin(), action.keys.end());
    const Scene before = scene();

    root().commandLine()->field()->setText("sleep 30");
    m_controller->shellCommands().submitCommandLine();
    ASSERT_NE(console(), nullptr);
    for (const auto& [key, id] : keys) {
        if (consoleKeys.contains(key))
            continue;
        // To the console, and to a panel behind it as if the focus had strayed there.
        const ShownDialogs shown = answering({}, [&] {
            click(QApplication::focusWidget(), key);
            click(left().tableView(), key);
        });
        EXPECT_TRUE(shown.empty()) << id;
        EXPECT_TRUE(console() && console()->isRunning()) << id;
        EXPECT_TRUE(scene() == before) << id;
    }
    click(QApplication::focusWidget(), table().action("interrupt")->keys.front());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !console()->isRunning(); }, 10'000));
    m_controller->shellCommands().hideConsole();
    waitForJobs();

    for (const auto& [key, id] : keys) {
        runToTheEnd("true");
        const ShownDialogs shown = answering({}, [&] { click(QApplication::focusWidget(), key); });
        EXPECT_TRUE(shown.empty()) << id;
        EXPECT_EQ(console(), nullptr) << id;
        waitForJobs();
        EXPECT_TRUE(scene() == before) << id;
    }
}

// The keys for what only a menu reached: the command line, a relisting, comparing and extracting.
TEST_F(CommandTableTest, CtrlEGoesToTheCommandLineLettersStillSearchAndCtrlRCompareAndExtractHaveKeys)
{
    QTest::keyClick(left().tableView(), Qt::Key_N);
    EXPECT_EQ(left().selectedEntry()->name, "notes.txt");
    QTest::keyClick(left().tableView(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(root().commandLine()->field()->hasFocus());
    // Typed there, Ctrl+E is the line's own; Escape goes back to the panel.
    QTest::keyClicks(root().commandLine()->field(), "ls");
    QTest::keyClick(root().commandLine()->field(), Qt::Key_Home);
    QTest::keyClick(root().commandLine()->field(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(root().commandLine()->field()->hasFocus());
    QTest::keyClick(root().commandLine()->field(), Qt::Key_Escape);
    EXPECT_TRUE(left().tableView()->hasFocus());
    EXPECT_EQ(root().commandLine()->field()->text(), "ls");

    const auto pressOnPanel = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(left().tableView(), key, modifiers);
        waitForJobs();
    };
    EXPECT_EQ(answering({ ok }, [&] { pressOnPanel(Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier); }),
        ShownDialogs { notice("Compare Directories", "0 item(s) marked on the left, 0 on the right.") });

    // Ctrl+R reads the folder again at once, not only when its watcher has seen a change.
    QTest::keyClick(left().tableView(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_TRUE(left().isListing());
    waitForJobs();

    // Ctrl+Shift+X takes the archive under the cursor out into the other panel's folder.
    m_home.run("tar -czf pack.tgz notes.txt");
    left().reload();
    right().goTo(m_home / "docs");
    waitForJobs();
    putCursorOn(left(), "pack.tgz");
    pressOnPanel(Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(lists(right(), "notes.txt"));
}

// The keys of the panels, the command line and the function keys reach their rows wherever the
// window routes them, keypad keys as the main ones.
TEST_F(CommandTableTest, KeysRunTheirRowsOnlyWhereTheRowsSayKeypadKeysAsTheMainOnes)
{
    const KeyRouter& router = m_controller->keyRouter();
    const auto runs = [&](QKeyCombination key) {
        const Action* action = router.actionFor(key);
        return action ? std::string(action->id) : std::string("nothing");
    };
    QTest::keyClick(left().tableView(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(right().tableView()->hasFocus());
    QTest::keyClick(right().tableView(), Qt::Key_Tab);
    EXPECT_TRUE(left().tableView()->hasFocus());
    EXPECT_EQ(runs(Qt::Key_Return), "open");
    EXPECT_EQ(runs(Qt::ControlModifier | Qt::Key_Z), "undo");
    EXPECT_EQ(runs(Qt::ShiftModifier | Qt::Key_F6), "move"); // unbound with Shift: as without
    EXPECT_EQ(runs(Qt::AltModifier | Qt::Key_F5), "pack");

    root().commandLine()->field()->setFocus();
    EXPECT_EQ(runs(Qt::Key_Return), "run-command-line");
    EXPECT_EQ(runs(Qt::Key_Up), "older-command");
    EXPECT_EQ(runs(Qt::ControlModifier | Qt::Key_Z), "nothing"); // the line's own undo
    EXPECT_EQ(runs(Qt::ControlModifier | Qt::Key_E), "nothing"); // and its own end of line
    EXPECT_EQ(runs(Qt::ControlModifier | Qt::Key_U), "swap-panels");

    // The keypad's Enter, "+" and "*" are the main keys, "*" typed with Shift too.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
    QKeyEvent star(QEvent::KeyPress, Qt::Key_Asterisk, Qt::ShiftModifier, "*");
    QKeyEvent plus(QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier, "+");
    QKeyEvent backtab(QEvent::KeyPress, Qt::Key_Backtab, Qt::NoModifier);
    QKeyEvent shiftJ(QEvent::KeyPress, Qt::Key_J, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(CommandTable::keyOf(enter), QKeyCombination(Qt::Key_Return));
    EXPECT_EQ(CommandTable::keyOf(star), QKeyCombination(Qt::Key_Asterisk));
    EXPECT_EQ(CommandTable::keyOf(plus), QKeyCombination(Qt::Key_Plus));
    EXPECT_EQ(CommandTable::keyOf(backtab), Qt::ShiftModifier | Qt::Key_Tab);
    EXPECT_EQ(CommandTable::keyOf(shiftJ), Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_J);
}
