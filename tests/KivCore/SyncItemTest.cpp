#include "sync/SyncItem.h"

#include <gtest/gtest.h>

using namespace kiv;
using Action = SyncItem::Action;
using Difference = SyncItem::Difference;

TEST(SyncItemTest, ChoicesNeverCopyFromNothingNorDeleteWhatBothSidesHave)
{
    SyncItem leftOnly { "a", SyncSide {}, std::nullopt, Difference::leftOnly, Action::copyToRight };
    EXPECT_EQ(leftOnly.choices(), (std::vector { Action::copyToRight, Action::skip, Action::deleteLeft }));
    SyncItem both { "b", SyncSide {}, SyncSide {}, Difference::conflict, Action::skip };
    EXPECT_EQ(both.choices(), (std::vector { Action::copyToRight, Action::copyToLeft, Action::skip }));
    // Going round the choices comes back to the first.
    both.action = both.nextChoice();
    EXPECT_EQ(both.action, Action::copyToRight);
    both.action = both.nextChoice();
    EXPECT_EQ(both.action, Action::copyToLeft);
    SyncItem rightOnly { "c", std::nullopt, SyncSide {}, Difference::rightOnly, Action::deleteRight };
    EXPECT_EQ(rightOnly.nextChoice(), Action::copyToLeft);
}
