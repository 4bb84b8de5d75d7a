#include "RetroMenu.h"
#include "DOSColor.h"
#include "RetroMenuPanel.h"
#include "RetroMenuSession.h"
#include "RetroMenuView.h"
#include "Theme.h"
#include "WidgetProbe.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

using namespace kiv;
using kiv::test::hasColorAt;

namespace {

void nothing()
{
}

// Copy, a rule, a disabled entry, Move: the selectable rows are 0 and 3.
std::vector<RetroMenuItem> sampleItems(std::vector<QString>* log = nullptr)
{
    auto record = [log](QString what) {
        return [log, what] {
            if (log) log->push_back(what);
        };
    };
    return { RetroMenuItem::item("Copy", record("copy")), RetroMenuItem::separator(),
        { "Disabled", false, {} }, RetroMenuItem::item("Move", record("move")) };
}

// A shown main window that counts the clicks it receives.
class ClickCountingWindow : public QWidget
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

class RetroMenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_window.setGeometry(50, 50, 500, 400);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }
    void TearDown() override
    {
        if (RetroMenuSession* open = RetroMenuSession::current()) open->end(nullptr);
    }

    RetroMenuView* openView() { return RetroMenuSession::current()->panel()->menuView(); }
    bool menuIsOpen()
    {
        return RetroMenuSession::current() && RetroMenuSession::current()->panel()->isVisible();
    }

    ClickCountingWindow m_window;
};

} // namespace

TEST(RetroMenuViewTest, SizesFollowTheRowsWithA150Minimum)
{
    EXPECT_EQ(RetroMenuView({}).intrinsicSize(), QSize(150, 8));
    RetroMenuView sample(sampleItems());
    EXPECT_EQ(sample.intrinsicSize(), QSize(150, 4 + 20 + 9 + 20 + 20 + 4));
    EXPECT_EQ(sample.rows()[1].frame, QRect(0, 24, 150, 9));
    EXPECT_EQ(sample.rows()[3].frame, QRect(0, 53, 150, 20));

    const QString longTitle(40, QChar('x'));
    const int titleWidth = std::ceil(QFontMetricsF(RetroMenuView::menuFont()).horizontalAdvance(longTitle));
    EXPECT_EQ(
        RetroMenuView({ RetroMenuItem::item(longTitle, nothing) }).intrinsicSize().width(), titleWidth + 28);
}

TEST(RetroMenuViewTest, ArrowsSkipRulesAndDisabledEntriesAndWrapAround)
{
    RetroMenuView fresh(sampleItems());
    QTest::keyClick(&fresh, Qt::Key_Down);
    EXPECT_EQ(fresh.highlightedRow(), 0);
    QTest::keyClick(&fresh, Qt::Key_Down);
    EXPECT_EQ(fresh.highlightedRow(), 3);
    QTest::keyClick(&fresh, Qt::Key_Down);
    EXPECT_EQ(fresh.highlightedRow(), 0);
    QTest::keyClick(&fresh, Qt::Key_Up);
    EXPECT_EQ(fresh.highlightedRow(), 3);

    RetroMenuView upFirst(sampleItems());
    QTest::keyClick(&upFirst, Qt::Key_Up);
    EXPECT_EQ(upFirst.highlightedRow(), 3);

    RetroMenuView inert({ RetroMenuItem::separator(), { "Off", false, {} } });
    bool chosen = false;
    inert.onChoose = [&](std::function<void()>) { chosen = true; };
    for (Qt::Key key : { Qt::Key_Down, Qt::Key_Up, Qt::Key_Return, Qt::Key_Enter })
        QTest::keyClick(&inert, key);
    EXPECT_EQ(inert.highlightedRow(), std::nullopt);
    EXPECT_FALSE(chosen);
}

TEST(RetroMenuViewTest, DrawsFullWidthCyanBarGreyDisabledTextAndBlackFrame)
{
    RetroMenuView view(sampleItems());
    QTest::keyClick(&view, Qt::Key_Down);
    const QImage image = view.grab().toImage();
    EXPECT_TRUE(hasColorAt(image, 0, 0, DOSColor::black()));
    EXPECT_TRUE(hasColorAt(image, 149, 76, DOSColor::black()));
    EXPECT_TRUE(hasColorAt(image, 1, 5, Theme::menuHighlightBG()));
    EXPECT_TRUE(hasColorAt(image, 148, 22, Theme::menuHighlightBG()));
    EXPECT_TRUE(hasColorAt(image, 1, 60, Theme::menuBarBackground()));
    EXPECT_TRUE(hasColorAt(image, 75, 28, DOSColor::darkGray()));
    int grey = 0, black = 0;
    for (int y = 34; y < 53; ++y)
        for (int x = 14; x < 120; ++x) {
            grey += hasColorAt(image, x, y, DOSColor::darkGray());
            black += hasColorAt(image, x, y, DOSColor::black());
        }
    EXPECT_GT(grey, 0);
    EXPECT_EQ(black, 0);
}

TEST(RetroMenuSessionTest, PlacementKeepsTheMenuInsideTheAvailableArea)
{
    const QRect available(0, 25, 1000, 700);
    EXPECT_EQ(RetroMenuSession::placedFrame(QRect(900, 100, 150, 77), available), QRect(850, 100, 150, 77));
    EXPECT_EQ(RetroMenuSession::placedFrame(QRect(100, 700, 150, 77), available), QRect(100, 648, 150, 77));
    EXPECT_EQ(RetroMenuSession::placedFrame(QRect(-30, 0, 150, 77), available), QRect(0, 0, 150, 77));
    EXPECT_EQ(RetroMenuSession::placedFrame(QRect(0, 0, 1200, 77), QRect(10, 0, 1000, 700)).x(), 10);
}

TEST_F(RetroMenuTest, ReturnRunsTheChosenActionAfterTheMenuHasClosed)
{
    bool visibleDuringAction = true;
    bool currentDuringAction = true;
    RetroMenu::popUp({ RetroMenuItem::item("Go",
                         [&] {
                             visibleDuringAction = menuIsOpen();
                             currentDuringAction = RetroMenuSession::current() != nullptr;
                         }) },
        { 10, 20 }, &m_window);
    ASSERT_TRUE(menuIsOpen());
    EXPECT_EQ(RetroMenuSession::current()->panel()->pos(), m_window.mapToGlobal(QPoint(10, 20)));
    EXPECT_EQ(openView()->highlightedRow(), std::nullopt);
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Down);
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Return);
    EXPECT_FALSE(visibleDuringAction);
    EXPECT_FALSE(currentDuringAction);
    EXPECT_EQ(RetroMenuSession::current(), nullptr);
}

TEST_F(RetroMenuTest, EscapeAndOutsideClicksCloseWithoutActionAndTheClickStillActs)
{
    std::vector<QString> log;
    RetroMenu::popUp(sampleItems(&log), { 10, 20 }, &m_window);
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Down);
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Escape);
    EXPECT_EQ(RetroMenuSession::current(), nullptr);

    RetroMenu::popUp(sampleItems(&log), { 10, 20 }, &m_window);
    RetroMenuPanel* panel = RetroMenuSession::current()->panel();
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Down);
    QTest::mouseClick(
        panel, Qt::LeftButton, {}, panel->mapFromGlobal(m_window.mapToGlobal(QPoint(400, 300))));
    EXPECT_TRUE(QTest::qWaitFor([&] { return RetroMenuSession::current() == nullptr; }, 1000));
    EXPECT_EQ(m_window.presses, 1);
    EXPECT_TRUE(log.empty());
}

TEST_F(RetroMenuTest, MouseChoosesOnReleaseOverAnEntryOnly)
{
    std::vector<QString> log;
    RetroMenu::popUp(sampleItems(&log), { 10, 20 }, &m_window);
    RetroMenuView* view = openView();
    QTest::mouseMove(view, { 40, 60 });
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->highlightedRow() == 3; }, 1000));
    QTest::mouseClick(view, Qt::LeftButton, {}, { 40, 42 });
    QTest::mouseClick(view, Qt::LeftButton, {}, { 40, 2 });
    EXPECT_TRUE(menuIsOpen());
    EXPECT_EQ(view->highlightedRow(), std::nullopt);
    QTest::mouseClick(view, Qt::LeftButton, {}, { 40, 60 });
    EXPECT_EQ(log, std::vector<QString> { "move" });
    EXPECT_EQ(RetroMenuSession::current(), nullptr);
}

TEST_F(RetroMenuTest, OpeningAnotherMenuClosesTheFirstWithoutItsAction)
{
    std::vector<QString> log;
    RetroMenu::popUp(sampleItems(&log), { 10, 20 }, &m_window);
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Down);
    RetroMenu::popUp({ RetroMenuItem::item("Other",
                         [&] {
                             RetroMenu::popUp({ RetroMenuItem::item("Third", nothing) }, { 0, 0 }, &m_window);
                         }) },
        { 30, 20 }, &m_window);
    EXPECT_EQ(openView()->rows().front().item.title, "Other");
    EXPECT_TRUE(log.empty());
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Down);
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Return);
    ASSERT_TRUE(menuIsOpen());
    EXPECT_EQ(openView()->rows().front().item.title, "Third");
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Escape);
    EXPECT_EQ(RetroMenuSession::current(), nullptr);
}

TEST_F(RetroMenuTest, EmptyMenuClosesOnEscapeAndHiddenViewsOpenNothing)
{
    RetroMenu::popUp({}, { 0, 0 }, &m_window);
    ASSERT_TRUE(menuIsOpen());
    EXPECT_EQ(RetroMenuSession::current()->panel()->size(), QSize(150, 8));
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Escape);
    EXPECT_EQ(RetroMenuSession::current(), nullptr);

    QWidget hidden;
    RetroMenu::popUp(sampleItems(), { 0, 0 }, &hidden);
    EXPECT_EQ(RetroMenuSession::current(), nullptr);
}

TEST_F(RetroMenuTest, MenuClosesWithoutActionWhenTheApplicationLosesFocus)
{
    std::vector<QString> log;
    RetroMenu::popUp(sampleItems(&log), { 10, 20 }, &m_window);
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Down);
    emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_EQ(RetroMenuSession::current(), nullptr);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(log.empty());
}
