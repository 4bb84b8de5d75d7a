#include "PanelTableView.h"
#include "PanelRowView.h"
#include "Theme.h"
#include "WidgetProbe.h"

#include <QStringListModel>
#include <QTest>
#include <gtest/gtest.h>

using namespace kiv;
using kiv::test::hasColorAt;

namespace {

// A list of `rows` rows named "row0", "row1", … whose visible area is `visibleHeight` high.
struct ListFixture
{
    explicit ListFixture(int rows, int visibleHeight = 160)
    {
        QStringList names;
        for (int row = 0; row < rows; ++row)
            names << QStringLiteral("row%1").arg(row);
        model.setStringList(names);
        list.setModel(&model);
        list.setItemDelegate(&rowView);
        list.resize(200, visibleHeight);
        list.moveSelection(0);
    }

    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&list, key, modifiers);
    }

    QStringListModel model;
    PanelRowView rowView;
    PanelTableView list;
};

} // namespace

TEST(PanelTableViewTest, ArrowsPagingHomeAndEndMoveTheCursorWithoutWrapping)
{
    ListFixture fixture(100, 160);
    ASSERT_EQ(fixture.list.visiblePageRowCount(), 10);
    auto& list = fixture.list;

    fixture.press(Qt::Key_Up);
    EXPECT_EQ(list.selectedRow(), 0);
    fixture.press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(list.selectedRow(), 1);
    fixture.press(Qt::Key_PageDown);
    EXPECT_EQ(list.selectedRow(), 11);
    fixture.press(Qt::Key_PageUp);
    fixture.press(Qt::Key_PageUp);
    EXPECT_EQ(list.selectedRow(), 0);
    fixture.press(Qt::Key_End);
    EXPECT_EQ(list.selectedRow(), 99);
    EXPECT_TRUE(list.viewport()->rect().intersects(list.visualRect(fixture.model.index(99))));
    fixture.press(Qt::Key_Down);
    EXPECT_EQ(list.selectedRow(), 99);
    fixture.press(Qt::Key_Up);
    fixture.press(Qt::Key_PageDown);
    EXPECT_EQ(list.selectedRow(), 99);
    fixture.press(Qt::Key_Home);
    EXPECT_EQ(list.selectedRow(), 0);
    EXPECT_EQ(list.selectionModel()->selectedIndexes().size(), 1);

    // Less than one row visible still pages by one.
    ListFixture tiny(5, 10);
    EXPECT_EQ(tiny.list.visiblePageRowCount(), 1);
    tiny.press(Qt::Key_PageDown);
    EXPECT_EQ(tiny.list.selectedRow(), 1);

    ListFixture empty(0);
    empty.press(Qt::Key_End);
    empty.press(Qt::Key_Home);
    empty.press(Qt::Key_Down);
    EXPECT_EQ(empty.list.selectedRow(), -1);
}

TEST(PanelTableViewTest, PanelKeysBecomeCallbacksAndTabNeverLeavesTheList)
{
    QWidget window;
    ListFixture fixture(30);
    auto& list = fixture.list;
    list.setParent(&window);
    auto* neighbour = new PanelTableView(&window);
    window.show();
    list.setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return list.hasFocus(); }));

    QStringList calls;
    list.onToggleMark = [&] { calls << "mark"; };
    list.onActivateSelection = [&] { calls << "activate"; };
    list.onSwitchPanel = [&] { calls << "switch"; };
    list.onGoToParent = [&] { calls << "parent"; };
    for (Qt::Key key :
        { Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Backspace })
        fixture.press(key);
    QTest::keyClick(&list, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(calls.join(' ').toStdString(), "mark activate activate switch switch parent switch");
    EXPECT_TRUE(list.hasFocus());
    EXPECT_FALSE(neighbour->hasFocus());
    EXPECT_EQ(list.selectedRow(), 0);

    // Letters reach the list's own type-ahead search.
    fixture.press(Qt::Key_R);
    QTest::keyClicks(&list, "ow17");
    EXPECT_EQ(list.selectedRow(), 17);
}

TEST(PanelTableViewTest, FirstClickFocusesTheListReportsItAndMovesTheCursor)
{
    QWidget window;
    ListFixture fixture(30);
    auto& list = fixture.list;
    list.setParent(&window);
    auto* other = new PanelTableView(&window);
    other->move(0, 200);
    window.resize(200, 400);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    other->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return other->hasFocus(); }));

    int becameFirstResponder = 0;
    list.onBecameFirstResponder = [&] { ++becameFirstResponder; };
    const QRect fifth = list.visualRect(fixture.model.index(4));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, fifth.center());
    EXPECT_TRUE(list.hasFocus());
    EXPECT_EQ(becameFirstResponder, 1);
    EXPECT_EQ(list.selectedRow(), 4);

    // Ctrl+click on the cursor row and a click below the last row keep exactly one row selected.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, fifth.center());
    EXPECT_EQ(list.selectedRow(), 4);
    ListFixture shortList(2);
    shortList.list.show();
    QTest::mouseClick(shortList.list.viewport(), Qt::LeftButton, {}, { 20, 100 });
    EXPECT_EQ(shortList.list.selectedRow(), 0);
    EXPECT_EQ(shortList.list.selectionModel()->selectedIndexes().size(), 1);
}

TEST(PanelTableViewTest, CursorBarIsCyanInTheActivePanelAndDarkGreyInTheOther)
{
    ListFixture fixture(5);
    fixture.press(Qt::Key_Down);
    const int barY = fixture.list.visualRect(fixture.model.index(1)).center().y();
    const int plainY = fixture.list.visualRect(fixture.model.index(3)).center().y();
    QImage image = fixture.list.grab().toImage();
    EXPECT_TRUE(hasColorAt(image, 190, barY, Theme::cursorBackground()));
    EXPECT_TRUE(hasColorAt(image, 190, plainY, Theme::panelBackground()));
    EXPECT_TRUE(hasColorAt(image, 190, 150, Theme::panelBackground()));

    fixture.rowView.setActivePanelCursor(false);
    image = fixture.list.grab().toImage();
    EXPECT_TRUE(hasColorAt(image, 190, barY, Theme::inactiveCursorBG()));
}
