#include "toolkit/Theme.h"
#include "window/FunctionKeyBarView.h"
#include "window/PulldownMenuBarView.h"

#include <QFontMetricsF>
#include <QTest>
#include <gtest/gtest.h>

using namespace kiv;

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

TEST(PulldownMenuBarViewTest, TitlesAreClickableBeforeTheFirstPaintAndFollowTheFont)
{
    PulldownMenuBarView bar;
    UnpaintedBar unpainted(bar, { 600, 20 });
    std::vector<std::pair<int, QRectF>> activations;
    bar.onActivate = [&](int index, QRectF frame) {
        EXPECT_EQ(unpainted.paints, 0);
        activations.push_back({ index, frame });
    };
    const QList<QRectF> frames = bar.itemFrames();
    ASSERT_EQ(frames.size(), 5);
    EXPECT_GT(frames[1].left(), frames[0].right()); // titles are apart

    // Only a click on a title activates it; the gaps and the empty end do nothing.
    bar.activateFirstItem();
    QTest::mouseClick(&bar, Qt::LeftButton, {}, frames[1].center().toPoint());
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(qRound(frames[0].right() + 2), 10));
    QTest::mouseClick(&bar, Qt::LeftButton, {}, { 4, 10 });
    QTest::mouseClick(&bar, Qt::LeftButton, {}, { 590, 10 });
    EXPECT_EQ(activations, (std::vector<std::pair<int, QRectF>> { { 0, frames[0] }, { 1, frames[1] } }));

    bar.setFont(Theme::monoFontBold(24));
    EXPECT_DOUBLE_EQ(bar.itemFrames()[0].width(), QFontMetricsF(bar.font()).horizontalAdvance(' ') * 8);
}

TEST(FunctionKeyBarViewTest, TenEqualCellsReportTheirKeyWhereverClickedEvenBeforeTheFirstPaint)
{
    FunctionKeyBarView bar;
    UnpaintedBar unpainted(bar, { 800, 22 });
    std::vector<int> keys;
    bar.onKeyTapped = [&](int key) {
        EXPECT_TRUE(!keys.empty() || unpainted.paints == 0);
        keys.push_back(key);
    };
    QTest::mouseClick(&bar, Qt::LeftButton, {}, { 322, 10 });
    QTest::mouseClick(&bar, Qt::LeftButton, {}, { 399, 20 });
    QTest::mouseClick(&bar, Qt::LeftButton, {}, { 799, 1 });
    EXPECT_EQ(keys, (std::vector<int> { 5, 5, 10 }));
}
