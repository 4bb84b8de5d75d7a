#include "window/MainWindow.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace kiv;

TEST(MainWindowTest, FunctionKeysGoToTheWindowFirstAndItsCtrlKeysMatchExactly)
{
    MainWindow window;
    auto* content = new QWidget;
    auto* line = new QLineEdit(content);
    auto* text = new QPlainTextEdit(content);
    text->move(0, 40);
    window.setContentView(content);
    std::vector<int> functionKeys;
    int saves = 0;
    window.onFunctionKey = [&](int key) { functionKeys.push_back(key); };
    window.onCommandKeyEquivalent.push_back({ "s", [&] { ++saves; } });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    // Whatever has focus and whatever the modifiers; F11 is an ordinary key, and keys of another
    // top-level window are none of the main window's business.
    QTest::keyClick(line, Qt::Key_F5, Qt::ShiftModifier);
    QTest::keyClick(text, Qt::Key_F10, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(line, Qt::Key_F11);
    QLineEdit elsewhere;
    elsewhere.show();
    QTest::keyClick(&elsewhere, Qt::Key_F3);
    EXPECT_EQ(functionKeys, (std::vector<int> { 5, 10 }));

    // Ctrl+S, not Ctrl+Shift+S or S; an unmatched Ctrl key is the focused widget's own (select all).
    QTest::keyClicks(text, "abc");
    QTest::keyClick(text, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(text, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(text, Qt::Key_S);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(text->toPlainText(), "abcs");
    QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(text, Qt::Key_X);
    EXPECT_EQ(text->toPlainText(), "x");
}
