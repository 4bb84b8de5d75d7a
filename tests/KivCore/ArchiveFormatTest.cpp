#include "files/ArchiveFormat.h"

#include <gtest/gtest.h>

using namespace kiv;

TEST(ArchiveFormatTest, TellsTheFormatByTheEndOfTheNameInAnyCase)
{
    using Kind = ArchiveFormat::Kind;
    for (auto [name, kind] : { std::pair { "Backup.TAR.GZ", Kind::gzippedTar }, { "x.TGZ", Kind::gzippedTar },
             { "a.Zip", Kind::zip }, { "b.tar", Kind::plainTar }, { ".zip", Kind::zip } })
        EXPECT_EQ(ArchiveFormat::of(name), kind) << name;
    for (auto name : { "notes.gz", "zip", "file.zipx", "a.tar.bz2", "" })
        EXPECT_EQ(ArchiveFormat::of(name), std::nullopt) << name;
}
