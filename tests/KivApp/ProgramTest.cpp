#include "ProgramTest.h"

#include "DialogDriver.h"
#include "panels/PanelTableView.h"
#include "panels/PanelViewController.h"
#include "toolkit/RetroDialogButton.h"
#include "toolkit/RetroDialogView.h"
#include "toolkit/RetroMenuPanel.h"
#include "toolkit/RetroMenuSession.h"
#include "toolkit/RetroMenuView.h"
#include "window/MainRootView.h"
#include "window/MainWindow.h"
#include "window/PulldownMenuBarView.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <filesystem>

namespace kiv::test {

void PrintTo(const ShownDialog& dialog, std::ostream* out)
{
    *out << "{" << dialog.title << " | " << dialog.message << " | field: " << dialog.field << " | "
         << dialog.okLabel << (dialog.hasCancel ? " [ Cancel ]" : "") << "}";
}

ShownDialog prompt(const std::string& title, const std::string& message, const std::string& field)
{
    return { title, message, field, "[ OK ]", true };
}

ShownDialog question(const std::string& title, const std::string& message, const std::string& okLabel)
{
    return { title, message, "", okLabel, true };
}

ShownDialog notice(const std::string& title, const std::string& message)
{
    return { title, message, "", "[ OK ]", false };
}

namespace {

// Records the next dialog and answers it; the one after is looked for only once it is closed.
void answerInOrder(std::shared_ptr<ShownDialogs> seen, std::vector<Answer> answers)
{
    if (answers.empty())
        return;
    const Answer answer = answers.front();
    answers.erase(answers.begin());
    answerNextModal([seen, answer, rest = std::move(answers)](QWidget* modal) {
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
        QTest::keyClick(keyTarget(modal), answer.key);
        answerInOrder(seen, rest);
    });
}

} // namespace

void ProgramTest::startProgram()
{
    m_scopedHome.emplace(m_home.path());
    m_controller = std::make_unique<MainWindowController>();
    m_controller->showWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return left().tableView()->hasFocus(); }));
    QObject::connect(&m_watchdog, &QTimer::timeout, [this] { closeForgottenDialog(); });
    m_watchdog.start(100);
}

void ProgramTest::TearDown()
{
    m_watchdog.stop();
    finishTestDialogs();
    m_controller.reset();
    m_scopedHome.reset();
}

void ProgramTest::showFolder(PanelViewController& panel, const std::string& path)
{
    panel.goTo(path);
}

bool ProgramTest::lists(PanelViewController& panel, const std::string& name)
{
    const auto& rows = panel.state().entries();
    return std::any_of(rows.begin(), rows.end(), [&](const FileEntry& row) { return row.name == name; });
}

const FileEntry& ProgramTest::rowNamed(PanelViewController& panel, const std::string& name)
{
    const auto& rows = panel.state().entries();
    const auto found
        = std::find_if(rows.begin(), rows.end(), [&](const FileEntry& row) { return row.name == name; });
    EXPECT_NE(found, rows.end()) << name;
    return found == rows.end() ? rows.front() : *found;
}

void ProgramTest::putCursorOn(PanelViewController& panel, const std::string& name)
{
    panel.tableView()->moveSelection(int(&rowNamed(panel, name) - panel.state().entries().data()));
}

void ProgramTest::press(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(active().tableView(), key, modifiers);
}

ShownDialogs ProgramTest::answering(std::vector<Answer> answers, const std::function<void()>& action)
{
    auto seen = std::make_shared<ShownDialogs>();
    const std::size_t expected = answers.size();
    answerInOrder(seen, std::move(answers));
    action();
    // A menu runs its command after it has closed, so the dialogs may still be to come.
    EXPECT_TRUE(QTest::qWaitFor([&] { return seen->size() == expected; }));
    return *seen;
}

ShownDialogs ProgramTest::pressAnswering(std::initializer_list<Qt::Key> keys, std::vector<Answer> answers)
{
    return answering(std::move(answers), [&] {
        for (Qt::Key key : keys)
            press(key);
    });
}

void ProgramTest::chooseFromPulldown(int menu, int row)
{
    const QRectF title = root().menuBar()->itemFrames().at(menu);
    QTest::mouseClick(root().menuBar(), Qt::LeftButton, {}, title.center().toPoint());
    chooseFromOpenMenu(row);
}

void ProgramTest::chooseFromOpenMenu(int row)
{
    ASSERT_NE(RetroMenuSession::current(), nullptr);
    RetroMenuView* menu = RetroMenuSession::current()->panel()->menuView();
    for (int step = 0; step <= row; ++step)
        QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
}

void ProgramTest::runInHome(const std::string& command)
{
    const std::string line = "cd '" + m_home.path() + "' && " + command + " >/dev/null";
    ASSERT_EQ(std::system(line.c_str()), 0) << line;
}

void ProgramTest::removeTemporaryCopy(const std::string& path)
{
    const std::string prefix = std::filesystem::temp_directory_path().string() + "/kiv-mac-";
    ASSERT_EQ(path.rfind(prefix, 0), 0u) << path;
    std::filesystem::remove_all(path.substr(0, path.find('/', prefix.size())));
}

void ProgramTest::closeForgottenDialog()
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

} // namespace kiv::test
