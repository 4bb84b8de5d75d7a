#include "toolkit/Theme.h"
#include "toolkit/DOSColor.h"

#include <QFontInfo>
#include <gtest/gtest.h>

using namespace kiv;

namespace {

void expectComponents(const QColor& color, float red, float green, float blue)
{
    EXPECT_NEAR(color.redF(), red, 1e-4);
    EXPECT_NEAR(color.greenF(), green, 1e-4);
    EXPECT_NEAR(color.blueF(), blue, 1e-4);
    EXPECT_EQ(color.alphaF(), 1.0f);
}

} // namespace

TEST(ThemeTest, PaletteKeepsTheDecimalLevelsNotThirds)
{
    expectComponents(DOSColor::lightMagenta(), 1.0f, 0.33f, 1.0f);
    // 0.33 and 0.67 as written, not thirds: 170.85 on an 8-bit scale rounds to 171, not 170.
    EXPECT_EQ(DOSColor::blue().blue(), 171);
    EXPECT_EQ(DOSColor::darkGray().red(), 84);
}

TEST(ThemeTest, FontsAreFixedPitchPixelSizedAndAliased)
{
    const QFont regular = Theme::monoFont();
    EXPECT_EQ(regular.pixelSize(), 13);
    EXPECT_EQ(regular.weight(), QFont::Normal);
    EXPECT_TRUE(regular.styleStrategy() & QFont::NoAntialias);
    EXPECT_TRUE(QFontInfo(regular).fixedPitch());

    const QFont bold = Theme::monoFontBold(12);
    EXPECT_EQ(bold.pixelSize(), 12);
    EXPECT_EQ(bold.weight(), QFont::Bold);
    EXPECT_EQ(bold.family(), regular.family());
}
