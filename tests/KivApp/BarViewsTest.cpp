#include "WidgetProbe.h"
#include "toolkit/Theme.h"
#include "window/FunctionKeyBarView.h"
#include "window/PulldownMenuBarView.h"

#include <QFontMetricsF>
#include <QTest>
#include <gtest/gtest.h>

using namespace kiv;
using kiv::test::hasColorAt;

namespace {

// Shows `bar` at `size` without putting it on a screen, so it is laid out but never painted.
class UnpaintedBar : public QObject
{
public:
    UnpaintedBar(QWidget& bar, QSize size)
    {
        bar.setAttribute(Qt::WA_DontShowOnScreen);
        bar.resize(size);
        bar.installEventFilter(this);
        bar.show(); // sends the resize at once; a paint would wait for the event loop
    }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

TEST(PulldownMenuBarViewTest, TitlesArePaddedFromX8With4PixelGapsAndWorkBeforeTheFirstPaint)
{
    PulldownMenuBarView bar;
    UnpaintedBar unpainted(bar, { 600, 20 });
    std::vector<std::pair<int, QRectF>> activations;
    bar.onActivate = [&](int index, QRectF frame) {
        EXPECT_EQ(unpainted.paints, 0);
        activations.push_back({ index, frame });
    };

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
    EXPECT_EQ(activations[0], std::make_pair(0, QRectF(frames[0])));
    EXPECT_EQ(activations[1], std::make_pair(1, QRectF(frames[1])));

    bar.setFont(Theme::monoFontBold(24));
    EXPECT_DOUBLE_EQ(bar.itemFrames()[0].width(), QFontMetricsF(bar.font()).horizontalAdvance(' ') * 8);
}

TEST(FunctionKeyBarViewTest, TenEqualCellsReportTheirKeyWhereverClickedEvenBeforeTheFirstPaint)
{
    FunctionKeyBarView bar;
    UnpaintedBar unpainted(bar, { 800, 22 });
    std::vector<int> keys;
    bar.onKeyTapped = [&](int key) {
        if (keys.empty()) {
            EXPECT_EQ(unpainted.paints, 0);
        }
        keys.push_back(key);
    };
    QTest::mouseClick(&bar, Qt::LeftButton, {}, { 322, 10 });
    QTest::mouseClick(&bar, Qt::LeftButton, {}, { 399, 20 });
    EXPECT_EQ(keys, (std::vector<int> { 5, 5 }));
    ASSERT_EQ(bar.itemFrames().size(), 10);
    EXPECT_EQ(bar.itemFrames()[9], QRectF(720, 0, 80, 22));

    const QImage image = bar.grab().toImage();

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
