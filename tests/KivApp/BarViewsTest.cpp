#include "window/FunctionKeyBarView.h"
#include "window/PulldownMenuBarView.h"
#include "toolkit/Theme.h"
#include "WidgetProbe.h"

#include <QFontMetricsF>
#include <QTest>
#include <gtest/gtest.h>

using namespace kiv;
using kiv::test::hasColorAt;

TEST(PulldownMenuBarViewTest, TitlesArePaddedFromX8With4PixelGapsAndFullHeight)
{
    PulldownMenuBarView bar;
    bar.resize(600, 20);
    std::vector<std::pair<int, QRectF>> activations;
    bar.onActivate = [&](int index, QRectF frame) { activations.push_back({ index, frame }); };

    bar.activateFirstItem();
    QTest::mouseClick(&bar, Qt::LeftButton, {}, { 20, 10 });
    EXPECT_TRUE(activations.empty());

    bar.grab();
    const QList<QRectF>& frames = bar.itemFrames();
    ASSERT_EQ(frames.size(), 5);
    const qreal cell = QFontMetricsF(Theme::monoFontBold(12)).horizontalAdvance(' ');
    EXPECT_EQ(frames[0], QRectF(8, 0, cell * 8, 20));
    EXPECT_DOUBLE_EQ(frames[2].width(), cell * 12);
    EXPECT_DOUBLE_EQ(frames[1].left(), frames[0].right() + 4);

    bar.activateFirstItem();
    QTest::mouseClick(&bar, Qt::LeftButton, {}, frames[1].center().toPoint());
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(qRound(frames[0].right() + 2), 10));
    QTest::mouseClick(&bar, Qt::LeftButton, {}, { 4, 10 });
    QTest::mouseClick(&bar, Qt::LeftButton, {}, { 590, 10 });
    ASSERT_EQ(activations.size(), 2u);
    EXPECT_EQ(activations[0], std::make_pair(0, frames[0]));
    EXPECT_EQ(activations[1], std::make_pair(1, frames[1]));
}

TEST(FunctionKeyBarViewTest, TenEqualCellsReportTheirKeyWhereverClicked)
{
    FunctionKeyBarView bar;
    bar.resize(800, 22);
    std::vector<int> keys;
    bar.onKeyTapped = [&](int key) { keys.push_back(key); };
    QTest::mouseClick(&bar, Qt::LeftButton, {}, { 410, 10 });
    EXPECT_TRUE(keys.empty());

    const QImage image = bar.grab().toImage();
    ASSERT_EQ(bar.itemFrames().size(), 10);
    EXPECT_EQ(bar.itemFrames()[9], QRectF(720, 0, 80, 22));
    QTest::mouseClick(&bar, Qt::LeftButton, {}, { 322, 10 });
    QTest::mouseClick(&bar, Qt::LeftButton, {}, { 399, 20 });
    EXPECT_EQ(keys, (std::vector<int> { 5, 5 }));

    // From a cell's left edge: black, the white number, black, then cyan up to the next cell.
    EXPECT_TRUE(hasColorAt(image, 320, 1, Theme::funcKeyBarBackground()));
    EXPECT_TRUE(hasColorAt(image, 399, 1, Theme::funcKeyLabelBG()));
    const auto firstCyan = [&](int cellLeft) {
        int x = cellLeft;
        while (x < cellLeft + 80 && !hasColorAt(image, x, 1, Theme::funcKeyLabelBG()))
            ++x;
        return x - cellLeft;
    };
    EXPECT_GT(firstCyan(720), firstCyan(640));
    EXPECT_EQ(firstCyan(0), firstCyan(640));
}
