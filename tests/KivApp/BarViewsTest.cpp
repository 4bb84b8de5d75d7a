#include "toolkit/Theme.h"
#include "window/FunctionKeyBarView.h"
#include "window/PulldownMenuBarView.h"

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

TEST(PulldownMenuBarViewTest, OnlyTitlesAreClickableEvenBeforeTheFirstPaintAndTheirFramesFollowTheFont)
{
    PulldownMenuBarView bar;
    UnpaintedBar unpainted(bar, { 600, 20 });
    std::vector<int> activations;
    bar.onActivate = [&](int index, QRectF frame) {
        EXPECT_EQ(unpainted.paints, 0);
        EXPECT_EQ(frame, bar.itemFrames().at(index));
        activations.push_back(index);
    };
    const QList<QRectF> frames = bar.itemFrames();
    ASSERT_EQ(frames.size(), 5);
    bar.activateFirstItem();
    for (QPoint at : { frames[1].center().toPoint(), QPoint(qRound(frames[0].right() + 2), 10), QPoint(4, 10),
             QPoint(590, 10) })
        QTest::mouseClick(&bar, Qt::LeftButton, {}, at);
    EXPECT_EQ(activations, (std::vector<int> { 0, 1 }));
    bar.setFont(Theme::monoFontBold(24));
    EXPECT_GT(bar.itemFrames()[0].width(), frames[0].width()) << "the titles' frames follow the font";
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
    for (QPoint at : { QPoint(322, 10), QPoint(399, 20), QPoint(799, 1) })
        QTest::mouseClick(&bar, Qt::LeftButton, {}, at);
    EXPECT_EQ(keys, (std::vector<int> { 5, 5, 10 }));
}
