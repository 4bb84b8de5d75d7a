#include "window/MainWindow.h"
#include "toolkit/RetroSplitView.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace kiv;

namespace {

// A main window holding a line edit and a text edit, recording what its key table receives.
class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto* content = new QWidget;
        m_line = new QLineEdit(content);
        m_text = new QPlainTextEdit(content);
        m_text->move(0, 40);
        m_window.setContentView(content);
        m_window.onFunctionKey = [this](int key) { m_functionKeys.push_back(key); };
        m_window.onCommandKeyEquivalent.push_back({ "s", [this] { ++m_saves; } });
        m_window.resize(400, 300);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }

    MainWindow m_window;
    QLineEdit* m_line = nullptr;
    QPlainTextEdit* m_text = nullptr;
    std::vector<int> m_functionKeys;
    int m_saves = 0;
};

} // namespace

TEST_F(MainWindowTest, FunctionKeysGoToTheWindowFirstWhateverHasFocusAndWhateverModifiers)
{
    QTest::keyClick(m_line, Qt::Key_F5, Qt::ShiftModifier);
    QTest::keyClick(m_text, Qt::Key_F1);
    QTest::keyClick(m_text, Qt::Key_F10, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(m_functionKeys, (std::vector<int> { 5, 1, 10 }));

    // F11 is an ordinary key: the focused widget gets it and the window does not.
    QTest::keyClick(m_line, Qt::Key_F11);
    EXPECT_EQ(m_functionKeys.size(), 3u);

    // Keys of another top-level window are none of the main window's business.
    QLineEdit elsewhere;
    elsewhere.show();
    QTest::keyClick(&elsewhere, Qt::Key_F3);
    EXPECT_EQ(m_functionKeys.size(), 3u);

    // Without a receiver the function key is still swallowed.
    m_window.onFunctionKey = nullptr;
    QTest::keyClicks(m_line, "ab");
    QTest::keyClick(m_line, Qt::Key_F2);
    EXPECT_EQ(m_line->text(), "ab");
}

TEST_F(MainWindowTest, CtrlKeyTableMatchesTheExactCharactersAndLetsOthersThrough)
{
    QTest::keyClicks(m_text, "abc");
    QTest::keyClick(m_text, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(m_saves, 1);
    QTest::keyClick(m_text, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(m_text, Qt::Key_S);
    EXPECT_EQ(m_saves, 1);
    EXPECT_EQ(m_text->toPlainText(), "abcs");

    // An unmatched Ctrl key is the focused widget's own: select all, then type over it.
    QTest::keyClick(m_text, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(m_text, Qt::Key_X);
    EXPECT_EQ(m_text->toPlainText(), "x");
}

TEST(RetroSplitViewTest, TwoPanesStayEqualOnEveryResizeEvenAfterTheDividerWasDragged)
{
    QWidget holder;
    auto* split = new RetroSplitView(&holder);
    auto* left = new QWidget;
    auto* right = new QWidget;
    split->addWidget(left);
    split->addWidget(right);
    holder.resize(2000, 300);
    holder.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&holder));
    for (int width : { 1101, 700, 1920, 1 }) {
        split->setSizes({ 100, width }); // as if dragged aside
        split->resize(width, 300);
        const int available = std::max(0, width - RetroSplitView::dividerThickness);
        EXPECT_EQ(left->width(), available / 2) << width;
        EXPECT_EQ(right->width(), available - available / 2) << width;
    }
}
