#include "toolkit/RetroControls.h"
#include "toolkit/BorderedPanel.h"

#include "WidgetProbe.h"

#include <gtest/gtest.h>

using namespace kiv;
using kiv::test::hasColorAt;
using kiv::test::renderOn;

TEST(RetroControlsTest, LabelDrawsBackgroundOnlyWhenAskedIncludingTransparentColours)
{
    std::unique_ptr<RetroLabel> plain(RetroControls::label(""));
    plain->resize(40, 16);
    EXPECT_FALSE(plain->drawsBackground());
    EXPECT_EQ(plain->textColor(), Theme::panelText());
    EXPECT_TRUE(hasColorAt(renderOn(*plain, Qt::green), 20, 8, Qt::green));

    std::unique_ptr<RetroLabel> filled(
        RetroControls::label("", Theme::monoFont(), Theme::panelText(), Theme::panelHeaderBG()));
    filled->resize(40, 16);
    EXPECT_TRUE(hasColorAt(renderOn(*filled, Qt::green), 20, 8, Theme::panelHeaderBG()));

    std::unique_ptr<RetroLabel> clearRed(
        RetroControls::label("", Theme::monoFont(), Theme::panelText(), QColor(255, 0, 0, 0)));
    EXPECT_TRUE(clearRed->drawsBackground());
}

TEST(RetroControlsTest, LongLabelTextIsCutAtTheRightEdgeNotWrappedOrElided)
{
    const QString text(200, QChar('W'));
    std::unique_ptr<RetroLabel> label(RetroControls::label(text, Theme::monoFont(12), Theme::dialogText()));
    label->resize(60, 16);
    EXPECT_EQ(label->minimumSizeHint().width(), 0);
    const QImage image = renderOn(*label, Qt::white);
    int inkAtLeft = 0, inkAtRight = 0, inkInLowerHalf = 0;
    for (int y = 0; y < image.height(); ++y) {
        inkAtLeft += image.pixelColor(1, y) != QColor(Qt::white);
        inkAtRight += image.pixelColor(image.width() - 2, y) != QColor(Qt::white);
    }
    // No ellipsis: the last columns still show the W strokes; no second line below them.
    EXPECT_GT(inkAtLeft, 0);
    EXPECT_GT(inkAtRight, 0);
    for (int x = 0; x < image.width(); ++x)
        inkInLowerHalf += image.pixelColor(x, 15) != QColor(Qt::white);
    EXPECT_EQ(inkInLowerHalf, 0);
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
    EXPECT_TRUE(panel.grab().isNull() || panel.grab().size().isEmpty());
}
