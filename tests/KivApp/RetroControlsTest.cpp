#include "toolkit/RetroControls.h"
#include "toolkit/BorderedPanel.h"

#include "WidgetProbe.h"

#include <gtest/gtest.h>

using namespace kiv;
using namespace kiv::test;

TEST(RetroControlsTest, LabelDrawsBackgroundOnlyWhenAsked)
{
    std::unique_ptr<RetroLabel> plain(RetroControls::label(""));
    plain->resize(40, 16);
    EXPECT_TRUE(hasColorAt(renderOn(*plain, Qt::green), 20, 8, Qt::green));
    std::unique_ptr<RetroLabel> filled(
        RetroControls::label("", Theme::monoFont(), Theme::panelText(), Theme::panelHeaderBG()));
    filled->resize(40, 16);
    EXPECT_TRUE(hasColorAt(renderOn(*filled, Qt::green), 20, 8, Theme::panelHeaderBG()));
}

TEST(RetroControlsTest, LongLabelTextIsCutAtTheRightEdgeNotWrappedOrElided)
{
    std::unique_ptr<RetroLabel> label(
        RetroControls::label(QString(200, QChar('W')), Theme::monoFont(12), Theme::dialogText()));
    label->resize(60, 16);
    EXPECT_EQ(label->minimumSizeHint().width(), 0);
    const QImage image = renderOn(*label, Qt::white);
    // No ellipsis: the last columns still show the W strokes; no second line below them.
    EXPECT_LT(pixelsOf(image, Qt::white, QRect(image.width() - 2, 0, 1, 16)), 16);
    EXPECT_EQ(pixelsOf(image, Qt::white, QRect(0, 15, image.width(), 1)), image.width());
}

TEST(RetroControlsTest, BorderedPanelOutlinesItsOutermostPixelsAndSurvivesZeroSize)
{
    BorderedPanel panel;
    panel.resize(30, 20);
    const QImage image = renderOn(panel, Qt::green);
    for (auto [x, y] : { std::pair { 0, 0 }, { 29, 19 }, { 15, 19 }, { 29, 10 } })
        EXPECT_TRUE(hasColorAt(image, x, y, Theme::panelHeaderBG())) << x << "," << y;
    EXPECT_TRUE(hasColorAt(image, 1, 1, Theme::panelBackground()));
    panel.resize(0, 0);
    EXPECT_TRUE(panel.grab().size().isEmpty());
}
