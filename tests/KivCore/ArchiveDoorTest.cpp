#include "archives/ArchiveDoor.h"
#include "RowNames.h"
#include "TempDir.h"
#include "base/ErrorText.h"
#include "doors/DoorItem.h"
#include "doors/ReadStream.h"
#include "doors/WriteStream.h"
#include "files/FileSystemService.h"
#include "jobs/ItemCounter.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "Drained.h"

using namespace kiv;
using namespace kiv::test;

namespace {

std::string failureText(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::exception& error) {
        return userMessage(error);
    }
    return "(no error)";
}

std::string contentsOf(const Door& door, const std::string& path)
{
    return drained(*door.read(path));
}

std::vector<FileEntry> listed(const Door& door, const std::string& folder, JobControl* control = nullptr)
{
    return door.list(folder, Door::HiddenFiles::hide, Door::ListingOrder::byName, control);
}

} // namespace

TEST(ArchiveDoorTest, MembersAreListedAsFoldersAndReadStraightOutOfTheArchive)
{
    TempDir dir;
    dir.write("pack/docs/a.txt", "alpha");
    dir.write("pack/docs/sub/b.txt", std::string(300'000, 'b'));
    dir.write("pack/.hidden", "h");
    for (const char* archive : { "p.zip", "p.tgz" }) {
        dir.run(std::string(archive).ends_with("zip") ? "cd pack && zip -qr ../p.zip ." : "tar czf p.tgz -C pack .");
        const ArchiveDoor door(FileSystemService::shared(), dir / archive);
        EXPECT_EQ(namesOf(listed(door, "")), (std::vector<std::string> { "..", "docs", ".hidden" })) << archive;
        EXPECT_EQ(namesOf(listed(door, "docs/")), (std::vector<std::string> { "..", "sub", "a.txt" }));
        EXPECT_EQ(listed(door, "docs/")[2].id, "docs/a.txt") << "a row's id is its path on the door";
        EXPECT_EQ(contentsOf(door, "docs/a.txt"), "alpha");
        EXPECT_EQ(contentsOf(door, "docs/sub/b.txt"), std::string(300'000, 'b'));
        EXPECT_EQ(door.info("docs/sub/b.txt", Door::Link::itself)->size, 300'000);
        EXPECT_EQ(door.info("docs/sub", Door::Link::itself)->type, ItemInfo::Type::folder);
        EXPECT_FALSE(door.info("docs/none.txt", Door::Link::itself));
        EXPECT_EQ(failureText([&] { door.read("docs/none.txt"); }), "Not in " + dir / archive + ": docs/none.txt");
        EXPECT_EQ(failureText([&] { door.read("docs/"); }).rfind("Not", 0), 0u) << "a folder is no file";
        EXPECT_EQ(door.displayPath("docs/"), dir / archive + " :: /docs/");
        EXPECT_EQ(door.container()->path, dir / archive);
        EXPECT_FALSE(door.localPath("docs/a.txt")) << "a member is no file of the disk";
    }
}

TEST(ArchiveDoorTest, NothingInsideIsChangedAndOnlyTheSameFileIsTheSamePlace)
{
    TempDir dir;
    dir.write("a.txt", "a");
    dir.run("zip -q one.zip a.txt && cp one.zip two.zip");
    const ArchiveDoor door(FileSystemService::shared(), dir / "one.zip");
    const std::string refusal = "The inside of " + dir / "one.zip" + " can only be read: nothing in an archive is changed in place.";
    for (const auto& change : std::vector<std::function<void()>> { [&] { door.write("b.txt", std::nullopt, Door::Link::followed); },
             [&] { door.makeFolder("d/"); }, [&] { door.makeLink("a.txt", "l"); }, [&] { door.rename("a.txt", "b.txt"); },
             [&] { door.remove("a.txt"); }, [&] { door.keepAttributes("a.txt", {}); } })
        EXPECT_EQ(failureText(change), refusal);
    EXPECT_EQ(contentsOf(door, "a.txt"), "a");
    EXPECT_TRUE(door.isSamePlace(ArchiveDoor(FileSystemService::shared(), dir / "one.zip")));
    EXPECT_FALSE(door.isSamePlace(ArchiveDoor(FileSystemService::shared(), dir / "two.zip")));
    EXPECT_FALSE(door.isSamePlace(*FileSystemService::shared()));
}

TEST(ArchiveDoorTest, TheArchiveIsReadOnceUnlessAListingIsCancelledAndADamagedOneIsSaid)
{
    TempDir dir;
    dir.write("a.txt", "a");
    dir.run("zip -q one.zip a.txt");
    const ArchiveDoor door(FileSystemService::shared(), dir / "one.zip");
    ItemCounter::setDelayForTests(std::chrono::microseconds(1)); // counts each member, so a cancel is seen at once
    JobControl cancelled;
    cancelled.cancel();
    EXPECT_THROW(listed(door, "", &cancelled), JobCancelled);
    ItemCounter::setDelayForTests(std::chrono::microseconds(0));
    EXPECT_EQ(namesOf(listed(door, "")), (std::vector<std::string> { "..", "a.txt" })) << "read again";
    dir.write("b.txt", "b");
    dir.run("rm one.zip && zip -q one.zip b.txt");
    EXPECT_EQ(namesOf(listed(door, "")), (std::vector<std::string> { "..", "a.txt" }))
        << "what was read is kept for every later listing";

    dir.write("bad.zip", "PK\x03\x04 this is no archive");
    const ArchiveDoor damaged(FileSystemService::shared(), dir / "bad.zip");
    EXPECT_EQ(failureText([&] { listed(damaged, ""); }).rfind(dir / "bad.zip" + ": ", 0), 0u);

    // Cut short after its first member, it lists that one and says where it broke.
    dir.run("head -c 300000 /dev/urandom > big.bin && tar -czf cut.tgz a.txt big.bin && truncate -s 100000 "
            "cut.tgz");
    const ArchiveDoor cut(FileSystemService::shared(), dir / "cut.tgz");
    EXPECT_EQ(cut.damage(), "") << "nothing read yet";
    EXPECT_EQ(namesOf(listed(cut, "")), (std::vector<std::string> { "..", "a.txt", "big.bin" }));
    EXPECT_NE(cut.damage().find(" after big.bin"), std::string::npos) << cut.damage();
}

TEST(ArchiveDoorTest, AMemberReadsWholeWithItsHolesOrFailsWhenDamaged)
{
    TempDir dir;
    dir.write("in/b.txt", std::string(5000, 'b'));
    dir.run("cd in && zip -q0 ../crc.zip b.txt");
    std::string bytes = readFile(dir / "crc.zip");
    bytes[bytes.find(std::string(5000, 'b')) + 100] ^= 0x11;
    std::ofstream(dir / "crc.zip", std::ios::binary) << bytes;
    const ArchiveDoor damaged(FileSystemService::shared(), dir / "crc.zip");
    EXPECT_NE(failureText([&] { contentsOf(damaged, "b.txt"); }), "(no error)")
        << "wrong bytes given as right";

    // A sparse member comes out with its holes as zeros, in their places.
    dir.run("cd in && truncate -s 300000 holes && printf middle | dd of=holes bs=1 seek=150000 conv=notrunc "
            "status=none && printf end >> holes && tar --sparse -cf ../holes.tar holes");
    const ArchiveDoor sparse(FileSystemService::shared(), dir / "holes.tar");
    EXPECT_EQ(contentsOf(sparse, "holes"), readFile(dir / "in/holes"));
}

TEST(ArchiveDoorTest, LinksInsideAreListedAsLinksWithTheirTargetsAndHardLinksAsTheFileTheyName)
{
    TempDir dir;
    dir.write("pack/docs/a.txt", "alpha");
    dir.run("ln -s docs/a.txt pack/current && ln pack/docs/a.txt pack/docs/same.txt");
    dir.run("tar cf p.tar -C pack . && cd pack && zip -qry ../p.zip .");
    for (const char* archive : { "p.tar", "p.zip" }) {
        SCOPED_TRACE(archive);
        const ArchiveDoor door(FileSystemService::shared(), dir / archive);
        const auto rows = listed(door, "");
        ASSERT_EQ(namesOf(rows), (std::vector<std::string> { "..", "docs", "current" }));
        EXPECT_EQ(
            std::pair(rows[2].kind, rows[2].size), std::pair(FileEntry::Kind::symlink, std::int64_t(10)))
            << "sized as a link on the disk is";
        const auto info = door.info("current", Door::Link::itself);
        ASSERT_TRUE(info);
        EXPECT_EQ(std::pair(info->type, info->linkTarget),
            std::pair(ItemInfo::Type::link, std::string("docs/a.txt")));
        EXPECT_EQ(listed(door, "docs/")[1].kind, FileEntry::Kind::regularFile);
        // A tar holds the data once; the second name reads it all the same, whichever comes first.
        for (const char* name : { "docs/a.txt", "docs/same.txt" }) {
            EXPECT_EQ(door.info(name, Door::Link::itself)->size, 5) << name;
            EXPECT_EQ(contentsOf(door, name), "alpha") << name;
        }
    }
}
