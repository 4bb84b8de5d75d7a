#include "toolkit/RetroControls.h"
#include "toolkit/BorderedPanel.h"

#include "WidgetProbe.h"

#include <gtest/gtest.h>

using namespace kiv;
using namespace kiv::test;

// A label draws its background only when given one, so labels laid over a panel let it show through;
// a bordered panel survives being squeezed to nothing.
TEST(RetroControlsTest, LabelDrawsBackgroundOnlyWhenAskedAndAPanelSurvivesZeroSize)
{
    std::unique_ptr<RetroLabel> plain(RetroControls::label(""));
    plain->resize(40, 16);
    EXPECT_TRUE(hasColorAt(renderOn(*plain, Qt::green), 20, 8, Qt::green));
    std::unique_ptr<RetroLabel> filled(
        RetroControls::label("", Theme::monoFont(), Theme::panelText(), Theme::panelHeaderBG()));
    filled->resize(40, 16);
    EXPECT_TRUE(hasColorAt(renderOn(*filled, Qt::green), 20, 8, Theme::panelHeaderBG()));
    BorderedPanel panel;
    panel.resize(0, 0);
    EXPECT_TRUE(panel.grab().size().isEmpty());
}
