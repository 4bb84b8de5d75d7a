#include "files/EditableText.h"

#include "TempDir.h"

using namespace kiv;
using namespace kiv::test;

using LoadedKind = EditableText::Loaded::Kind;

TEST(EditableTextTest, TextComesBackByteForByteAndWhatCouldNotIsRefusedWithItsReason)
{
    TempDir scratch;
    // Line breaks of either kind, a byte-order mark, separators a text widget keeps: saved unedited,
    // each gives back its file.
    for (const std::string& bytes : { std::string("caf\xC3\xA9\r\nno\xC2\xA0" "break\r\n"),
             std::string("\xEF\xBB\xBFmark\nfirst\n\nlast"), std::string("line\xE2\x80\xA8sep\xC2\x85\tx"),
             std::string() }) {
        const EditableText::Loaded loaded = EditableText::load(scratch.write("text", bytes));
        EXPECT_EQ(loaded.kind, LoadedKind::text) << bytes;
        EXPECT_EQ(loaded.text.find('\r'), std::string::npos) << bytes;
        EXPECT_EQ(EditableText::savedBytes(loaded.text, loaded), bytes);
    }
    const EditableText::Loaded windows = EditableText::load(scratch.write("crlf", "a\r\nb\r\n"));
    EXPECT_EQ(windows, (EditableText::Loaded { LoadedKind::text, "a\nb\n", true, false }));
    EXPECT_EQ(EditableText::savedBytes("a\nb\nnew", windows), "a\r\nb\r\nnew");
    EXPECT_EQ(EditableText::load(scratch / "new.txt"), (EditableText::Loaded { LoadedKind::missing, "" }));

    // Latin-1, a NUL, a sequence cut at the end of the file: a text editor would change these bytes.
    for (const std::string& bytes : { std::string("caf\xE9"), std::string("a\0b", 3), std::string("ok \xE2\x82") })
        EXPECT_EQ(EditableText::load(scratch.write("other", bytes)).kind, LoadedKind::notText) << bytes;
    // And these line breaks, which the text widget would make into others.
    for (const std::string& bytes : { std::string("old\rmac\r"), std::string("a\r\nb\nc"),
             std::string("para\xE2\x80\xA9graph") })
        EXPECT_EQ(EditableText::load(scratch.write("breaks", bytes)).kind, LoadedKind::unkeptBreaks) << bytes;

    EXPECT_EQ(EditableText::load(scratch.folder("folder")).kind, LoadedKind::unreadable);
    const std::string fifo = scratch / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(EditableText::load(fifo).kind, LoadedKind::unreadable);
    if (!permissionBitsBind(scratch))
        GTEST_SKIP() << "permission bits do not bind for this process";
    const std::string secret = scratch.write("secret.txt", "keep me");
    ::chmod(secret.c_str(), 0200);
    EXPECT_EQ(EditableText::load(secret).kind, LoadedKind::unreadable);
}
