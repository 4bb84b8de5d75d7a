#include "window/MainWindow.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTest>
#include <gtest/gtest.h>

using namespace kiv;

TEST(MainWindowTest, TheWindowHasItsWidgetsKeysFirstAndTheKeysItTakesBeatShortcuts)
{
    MainWindow window;
    auto* content = new QWidget;
    auto* line = new QLineEdit(content);
    auto* text = new QPlainTextEdit(content);
    text->move(0, 40);
    window.setContentView(content);
    // The window takes Ctrl+S and F5, and hears of every key with the widget it was aimed at.
    std::vector<std::pair<int, QObject*>> seen;
    const auto isOwnKey = [](const QKeyEvent& event) {
        return event.key() == Qt::Key_F5
            || (event.key() == Qt::Key_S && event.modifiers() == Qt::ControlModifier);
    };
    window.onKeyPress = [&](const QKeyEvent& event, QObject* receiver) {
        if (event.key() != Qt::Key_Control) // pressed alone first, it goes on up the widget's parents
            seen.emplace_back(event.key(), receiver);
        return isOwnKey(event);
    };
    window.takesKey = [&](const QKeyEvent& event, QObject*) { return isOwnKey(event); };
    int shortcuts = 0;
    for (QKeySequence key : { QKeySequence(Qt::ControlModifier | Qt::Key_S), QKeySequence(Qt::Key_F6) })
        QObject::connect(new QShortcut(key, &window), &QShortcut::activated, [&] { ++shortcuts; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    // A key the window takes never reaches the widget nor a shortcut on it; the others do.
    text->setFocus();
    QTest::keyClicks(text, "ab");
    QTest::keyClick(text, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(text, Qt::Key_F5);
    QTest::keyClick(text, Qt::Key_F6);
    EXPECT_EQ(text->toPlainText(), "ab");
    EXPECT_EQ(shortcuts, 1); // F6's
    QTest::keyClick(line, Qt::Key_X);
    EXPECT_EQ(line->text(), "x");
    EXPECT_EQ(seen,
        (std::vector<std::pair<int, QObject*>> { { Qt::Key_A, text }, { Qt::Key_B, text },
            { Qt::Key_S, text }, { Qt::Key_F5, text }, { Qt::Key_X, line } }));

    // Keys of another top-level window are none of the main window's business.
    QLineEdit elsewhere;
    elsewhere.show();
    QTest::keyClick(&elsewhere, Qt::Key_F5);
    EXPECT_EQ(seen.size(), 5u);
}
