#include "attributes/AttributeForm.h"

#include "attributes/AccountNames.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace kiv;
using State = AttributeForm::State;

namespace {

ItemAttributes item(std::uint32_t permissions, uid_t owner = 1000, std::int64_t modified = 1'700'000'000)
{
    ItemAttributes attributes;
    attributes.permissions = permissions;
    attributes.owner = owner;
    attributes.group = 100;
    attributes.modifiedSeconds = modified;
    return attributes;
}

// The row of `bits` for the mode bit `mask`.
std::size_t row(std::uint32_t mask)
{
    for (std::size_t at = 0; at < AttributeForm::bits.size(); ++at)
        if (AttributeForm::bits[at].mask == mask)
            return at;
    return AttributeForm::bits.size();
}

} // namespace

// Items that differ keep their differences: only the bits the user flipped are in the change, so
// a recursive change never copies the first item's mode onto everything else.
TEST(AttributeFormTest, changesOnlyWhatTheUserFlipped)
{
    AttributeForm form({ item(0644), item(0755) }, true);
    EXPECT_EQ(form.state(row(0400)), State::on);
    EXPECT_EQ(form.state(row(0100)), State::mixed);
    EXPECT_EQ(form.state(row(0020)), State::off);
    EXPECT_FALSE(form.isChanged());

    form.flip(row(0020)); // group write on
    form.flip(row(0400)); // owner read off
    const AttributeChange change = form.change();
    EXPECT_EQ(change.turnOn, 0020u);
    EXPECT_EQ(change.turnOff, 0400u);
    EXPECT_EQ(change.appliedTo(item(0644)).permissions, 0264u);
    EXPECT_EQ(change.appliedTo(item(0755)).permissions, 0375u);

    // A mixed bit goes on, off, then back to "as each has it", which changes nothing.
    form.flip(row(0100));
    EXPECT_EQ(form.change().turnOn, 0120u);
    form.flip(row(0100));
    EXPECT_EQ(form.change().turnOff, 0500u);
    form.flip(row(0100));
    EXPECT_EQ(form.state(row(0100)), State::mixed);
    EXPECT_EQ(form.change().turnOn | form.change().turnOff, 0420u);

    // Flipping a bit twice back to where it was is no change either.
    AttributeForm same({ item(0644) }, false);
    same.flip(row(04000));
    same.flip(row(04000));
    EXPECT_FALSE(same.isChanged());
}

// Owner, group and time go into the change only when they differ from what every item has; a
// value given to items that differ reaches all of them.
TEST(AttributeFormTest, givesOwnerGroupAndTimeOnlyWhenTheyChange)
{
    AttributeForm form({ item(0644, 1000, 10), item(0644, 1000, 20) }, false);
    EXPECT_EQ(form.owner(), uid_t(1000));
    EXPECT_EQ(form.modified(), std::nullopt);
    form.setOwner(1000);
    form.setGroup(100);
    EXPECT_FALSE(form.isChanged());
    form.setModified(FileTime(std::chrono::seconds(10)));
    EXPECT_TRUE(form.isChanged());
    EXPECT_EQ(form.change().modified, FileTime(std::chrono::seconds(10)));
    form.setOwner(0);
    EXPECT_EQ(form.change().owner, uid_t(0));
    EXPECT_EQ(form.owner(), uid_t(0));

    // Without a folder marked the change never goes inside anything.
    form.nextReach();
    EXPECT_EQ(form.reach(), AttributeChange::Reach::markedItems);
    AttributeForm folders({ item(040755) }, true);
    folders.nextReach();
    folders.nextReach();
    EXPECT_EQ(folders.change().reach, AttributeChange::Reach::filesOnly);
}

// A typed time is read in full or not at all: a day the month has not, a field out of range or
// anything after the time is refused, never rolled into another date.
TEST(AttributeFormTest, readsTimesWhole)
{
    const std::optional<FileTime> when = AttributeForm::parseTime("2026-12-07 14:05:30");
    ASSERT_TRUE(when);
    EXPECT_EQ(AttributeForm::timeText(*when), "2026-12-07 14:05:30");
    ASSERT_TRUE(AttributeForm::parseTime(" 2024-02-29 00:00 "));
    EXPECT_EQ(AttributeForm::timeText(*AttributeForm::parseTime("2024-02-29 00:00")), "2024-02-29 00:00:00");
    for (const char* wrong : { "2025-02-29 10:00", "2026-04-31 10:00", "2026-13-01 00:00", "2026-12-07 24:00",
             "2026-12-07 10:60", "2026-12-07", "yesterday", "2026-12-07 10:00 pm", "2026-12-07 10:00:00x", "" })
        EXPECT_FALSE(AttributeForm::parseTime(wrong)) << wrong;
}

// Names and numbers both name an account; a name nobody has is none.
TEST(AttributeFormTest, readsAccountsByNameOrNumber)
{
    EXPECT_EQ(AccountNames::userId("root"), uid_t(0));
    EXPECT_EQ(AccountNames::userId("0"), uid_t(0));
    EXPECT_EQ(AccountNames::userName(0), "root");
    EXPECT_EQ(AccountNames::groupId(AccountNames::groupName(0)), gid_t(0));
    EXPECT_EQ(AccountNames::userName(4'000'000'000u), "4000000000");
    EXPECT_FALSE(AccountNames::userId("no such user here"));
    EXPECT_FALSE(AccountNames::groupId("12abc"));
    EXPECT_TRUE(AccountNames::mayChangeGroupTo(::getegid()));
}
