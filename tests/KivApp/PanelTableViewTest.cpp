#include "panels/PanelTableView.h"

#include <QStringListModel>
#include <QTest>
#include <gtest/gtest.h>

using namespace kiv;

namespace {

// A list of rows "row0", "row1", … `visibleHeight` pixels high inside a window with a second list.
struct ListFixture
{
    explicit ListFixture(int rows, int visibleHeight = 160)
    {
        for (int row = 0; row < rows; ++row)
            model.insertRow(row), model.setData(model.index(row), QStringLiteral("row%1").arg(row));
        list->setModel(&model);
        list->resize(200, visibleHeight);
        list->moveSelection(0);
        other->move(0, 200);
        window.resize(200, 400);
        window.show();
    }

    QStringListModel model;
    QWidget window;
    PanelTableView* list = new PanelTableView(&window);
    PanelTableView* other = new PanelTableView(&window);
};

} // namespace

TEST(PanelTableViewTest, TheCursorStopsAtBothEndsPagesByOneWhenLessThanARowShowsAndLettersSearch)
{
    ListFixture tiny(30, 10);
    for (auto [key, row] : { std::pair { Qt::Key_PageDown, 1 }, { Qt::Key_End, 29 }, { Qt::Key_Down, 29 },
             { Qt::Key_PageDown, 29 }, { Qt::Key_Home, 0 }, { Qt::Key_Up, 0 } }) {
        QTest::keyClick(tiny.list, key);
        EXPECT_EQ(tiny.list->selectedRow(), row) << key;
    }
    QTest::keyClicks(tiny.list, "row17");
    EXPECT_EQ(tiny.list->selectedRow(), 17);
    ListFixture empty(0);
    for (Qt::Key key : { Qt::Key_End, Qt::Key_Home, Qt::Key_Down, Qt::Key_PageUp })
        QTest::keyClick(empty.list, key);
    EXPECT_EQ(empty.list->selectedRow(), -1);
}

TEST(PanelTableViewTest, FirstClickFocusesTheListReportsItAndKeepsExactlyOneRowSelected)
{
    ListFixture fixture(5);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fixture.window));
    fixture.other->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return fixture.other->hasFocus(); }));
    int becameFirstResponder = 0;
    fixture.list->onBecameFirstResponder = [&] { ++becameFirstResponder; };

    const QPoint fifth = fixture.list->visualRect(fixture.model.index(4)).center();
    QTest::mouseClick(fixture.list->viewport(), Qt::LeftButton, {}, fifth);
    EXPECT_TRUE(fixture.list->hasFocus());
    EXPECT_EQ(becameFirstResponder, 1);
    // Neither Ctrl+click on the cursor row nor a click below the last row empties the selection.
    QTest::mouseClick(fixture.list->viewport(), Qt::LeftButton, Qt::ControlModifier, fifth);
    QTest::mouseClick(fixture.list->viewport(), Qt::LeftButton, {}, { 20, 150 });
    EXPECT_EQ(fixture.list->selectionModel()->selectedIndexes().size(), 1);
    EXPECT_EQ(fixture.list->selectedRow(), 4);
}
