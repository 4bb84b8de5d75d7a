#include "toolkit/RetroMenu.h"
#include "toolkit/RetroMenuPanel.h"
#include "toolkit/RetroMenuSession.h"
#include "toolkit/RetroMenuView.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

using namespace kiv;

namespace {

std::vector<std::string> chosen; // the actions run, each noting whether a menu was still open then

// Copy, a rule, a disabled entry, Move: the selectable rows are 0 and 3.
std::vector<RetroMenuItem> sampleItems()
{
    const auto note = [](std::string what) {
        return [what] {
            const bool menuOpen = RetroMenuSession::current() || QApplication::activePopupWidget();
            chosen.push_back(menuOpen ? what + " while the menu was open" : what);
        };
    };
    return { RetroMenuItem::item("Copy", note("copy")), RetroMenuItem::separator(), { "Disabled", false, {} },
        RetroMenuItem::item("Move", note("move")) };
}

// Sends `key` to whatever has the keyboard: the open menu grabs it.
void press(Qt::Key key)
{
    QTest::keyClick(static_cast<QWidget*>(nullptr), key);
}

// A shown main window that counts the clicks it receives.
class RetroMenuTest : public ::testing::Test, public QWidget
{
protected:
    void SetUp() override
    {
        chosen.clear();
        setGeometry(50, 50, 500, 400);
        show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(this));
    }
    void mousePressEvent(QMouseEvent*) override { ++m_presses; }
    RetroMenuView* openView() { return RetroMenuSession::current()->panel()->menuView(); }
    bool menuIsOpen()
    {
        return RetroMenuSession::current() && RetroMenuSession::current()->panel()->isVisible();
    }

    int m_presses = 0;
};

} // namespace

TEST(RetroMenuViewTest, ArrowsSkipRulesAndDisabledEntriesAndWrapAround)
{
    RetroMenuView view(sampleItems());
    for (auto [key, row] : { std::pair { Qt::Key_Up, 3 }, { Qt::Key_Down, 0 }, { Qt::Key_Down, 3 },
             { Qt::Key_Down, 0 }, { Qt::Key_Up, 3 }, { Qt::Key_Up, 0 } }) {
        QTest::keyClick(&view, key);
        EXPECT_EQ(view.highlightedRow(), row);
    }
}

TEST_F(RetroMenuTest, AReleaseOverAnEntryRunsItsActionAfterTheMenuHasClosed)
{
    // The menu opens where asked; the mouse chooses on release, and only over an entry that can be chosen.
    RetroMenu::popUp(sampleItems(), { 10, 20 }, this);
    ASSERT_TRUE(menuIsOpen());
    EXPECT_EQ(RetroMenuSession::current()->panel()->pos(), mapToGlobal(QPoint(10, 20)));
    RetroMenuView* view = openView();
    QTest::mouseMove(view, { 40, 60 });
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->highlightedRow() == 3; }, 1000));
    QTest::mouseClick(view, Qt::LeftButton, {}, { 40, 42 });
    QTest::mouseClick(view, Qt::LeftButton, {}, { 40, 2 });
    EXPECT_TRUE(menuIsOpen());
    EXPECT_EQ(view->highlightedRow(), std::nullopt);
    QTest::mouseClick(view, Qt::LeftButton, {}, { 40, 60 });
    EXPECT_EQ(chosen, std::vector<std::string> { "move" });
    EXPECT_EQ(RetroMenuSession::current(), nullptr);
}

TEST_F(RetroMenuTest, EscapeOutsideClickFocusLossAndAnotherMenuCloseWithoutAction)
{
    auto openHighlighted = [&] {
        RetroMenu::popUp(sampleItems(), { 10, 20 }, this);
        press(Qt::Key_Down);
    };
    openHighlighted();
    press(Qt::Key_Escape);
    EXPECT_EQ(RetroMenuSession::current(), nullptr);

    openHighlighted();
    emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_EQ(RetroMenuSession::current(), nullptr);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    // The click that closes the menu still reaches the window under it.
    openHighlighted();
    RetroMenuPanel* panel = RetroMenuSession::current()->panel();
    QTest::mouseClick(panel, Qt::LeftButton, {}, panel->mapFromGlobal(mapToGlobal(QPoint(400, 300))));
    EXPECT_TRUE(QTest::qWaitFor([&] { return RetroMenuSession::current() == nullptr; }, 1000));
    EXPECT_EQ(m_presses, 1);

    // At most one menu: a second one replaces the first, even from inside a chosen action.
    openHighlighted();
    auto openThird = [&] { RetroMenu::popUp({ RetroMenuItem::item("Third", [] {}) }, { 0, 0 }, this); };
    RetroMenu::popUp({ RetroMenuItem::item("Other", openThird) }, { 30, 20 }, this);
    EXPECT_EQ(openView()->rows().front().item.title, "Other");
    press(Qt::Key_Down);
    press(Qt::Key_Return);
    ASSERT_TRUE(menuIsOpen());
    EXPECT_EQ(openView()->rows().front().item.title, "Third");
    press(Qt::Key_Escape);
    EXPECT_EQ(RetroMenuSession::current(), nullptr);
    EXPECT_TRUE(chosen.empty());
}
