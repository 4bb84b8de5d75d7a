#include "archives/ArchiveReader.h"

#include "TempDir.h"

#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>
#include <map>

using namespace kiv;

namespace {

using Members = std::map<std::string, std::string>; // path -> data

// Every member a reader scoped to `scope` gives, with its data.
Members readScoped(const std::string& archivePath, std::string_view scope)
{
    ArchiveReader reader(archivePath, scope);
    Members members;
    while (archive_entry* entry = reader.next()) {
        std::string data(static_cast<std::size_t>(archive_entry_size(entry)), '\0');
        if (!data.empty()) {
            EXPECT_EQ(archive_read_data(reader.handle(), data.data(), data.size()), std::ssize(data));
        }
        members[ArchiveReader::memberPath(entry)] = data;
    }
    return members;
}

// A folder "a" beside a file "ab.txt" that only shares its first letter, a name the library
// converts, and zips of it in the forms a zip's end can take.
class ZipExcerptTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        for (const char* path : { "a/x.txt", "a/sub/y.txt", "ab.txt", "b/z.txt", "caf\xC3\xA9.txt" })
            s_scratch.write(std::string("source/") + path, path);
        s_scratch.run(
            "cd source && zip -qr ../plain.zip a ab.txt b caf* && zip -fz -qr ../zip64.zip a ab.txt b "
            "caf* && cp ../plain.zip ../noted.zip && echo a note | zip -qz ../noted.zip && printf "
            "'#!/bin/sh\\nexit 0\\n' > ../front && cat ../front ../plain.zip > ../fronted.zip && bsdtar "
            "--format zip -P -cf ../dots.zip -s ',^a/x,./a/./x,' -s "
            "',^b/z.txt,../up.txt,' -s ',^ab.txt,a\\\\back.txt,' a/x.txt b/z.txt ab.txt");
    }

    static inline test::TempDir s_scratch { std::filesystem::temp_directory_path() };
};

TEST_F(ZipExcerptTest, AScopedZipGivesItsSubtreeWholeAndLeavesOutWhatSurelyLiesOutside)
{
    const Members everything { { "a/", "" }, { "a/x.txt", "a/x.txt" }, { "a/sub/", "" },
        { "a/sub/y.txt", "a/sub/y.txt" }, { "ab.txt", "ab.txt" }, { "b/", "" }, { "b/z.txt", "b/z.txt" },
        { "caf\xC3\xA9.txt", "caf\xC3\xA9.txt" } };
    // A name that is not ASCII may come out of the library changed, so it is always kept.
    const Members inA { { "a/", "" }, { "a/x.txt", "a/x.txt" }, { "a/sub/", "" },
        { "a/sub/y.txt", "a/sub/y.txt" }, { "caf\xC3\xA9.txt", "caf\xC3\xA9.txt" } };
    for (const char* name : { "plain.zip", "zip64.zip", "noted.zip" }) {
        SCOPED_TRACE(name);
        const std::string zip = s_scratch / name;
        EXPECT_EQ(readScoped(zip, "a"), inA);
        EXPECT_EQ(readScoped(zip, "a/sub/y.txt"),
            (Members { { "a/sub/y.txt", "a/sub/y.txt" }, { "caf\xC3\xA9.txt", "caf\xC3\xA9.txt" } }));
        EXPECT_EQ(readScoped(zip, "a/x"), (Members { { "caf\xC3\xA9.txt", "caf\xC3\xA9.txt" } }));
        EXPECT_EQ(readScoped(zip, ""), everything);
    }
    // Names the program shows otherwise than they are stored: "./a/./x.txt", "../up.txt", "a\\back.txt".
    const std::string dots = s_scratch / "dots.zip";
    const Members dotsInA = readScoped(dots, "a");
    EXPECT_EQ(dotsInA.count("a/x.txt") + dotsInA.count("a/back.txt"), 2u) << dots;
    EXPECT_EQ(readScoped(dots, "(..)/up.txt").count("(..)/up.txt"), 1u);
    // Data in front of the zip moves every offset: such a zip is read whole.
    EXPECT_EQ(readScoped(s_scratch / "fronted.zip", "a"), everything);
}

} // namespace
