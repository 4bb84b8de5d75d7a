#include "toolkit/Theme.h"

#include <QFontInfo>
#include <gtest/gtest.h>

using namespace kiv;

// The panels' columns line up only in one fixed-pitch family, drawn without smoothing.
TEST(ThemeTest, FontsAreOneFixedPitchFamilyWithoutAntialiasing)
{
    const QFont regular = Theme::monoFont();
    EXPECT_TRUE(QFontInfo(regular).fixedPitch());
    EXPECT_TRUE(regular.styleStrategy() & QFont::NoAntialias);
    EXPECT_EQ(Theme::monoFontBold(12).family(), regular.family());
    EXPECT_EQ(Theme::monoFontBold(12).weight(), QFont::Bold);
}
