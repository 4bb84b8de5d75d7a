#include "files/FileEntry.h"
#include "base/ErrorText.h"
#include "base/KivError.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace kiv {

TEST(FileEntryTest, EqualityCoversEveryField)
{
    FileEntry a { "/t/a", "a", FileEntry::Kind::regularFile, 10, std::nullopt, "-rw-r--r--" };
    FileEntry bigger = a;
    bigger.size = 11;
    FileEntry dated = a;
    dated.modificationDate = FileTime {};
    EXPECT_NE(a, bigger);
    EXPECT_NE(a, dated);
    EXPECT_EQ(a, FileEntry(a));
    EXPECT_EQ(std::hash<FileEntry> {}(a), std::hash<FileEntry> {}(FileEntry(a)));
}

TEST(KivErrorTest, DescriptionsAreTheTextsTheUserReads)
{
    EXPECT_EQ(KivError::alreadyExists("/tmp/a").description(), "Already exists: /tmp/a");
    EXPECT_EQ(KivError::notADirectory("").description(), "Not a directory: ");
    EXPECT_EQ(KivError::operationFailed("tar failed").description(), "tar failed");
    EXPECT_EQ(userMessage(KivError::alreadyExists("/x")), "Already exists: /x");
}

TEST(KivErrorTest, PlatformErrorsReadAsSystemMessageAndPath)
{
    try {
        throwSystemError(EACCES, "/root/x");
    } catch (const std::exception& error) {
        EXPECT_EQ(userMessage(error), "Permission denied: /root/x");
        EXPECT_EQ(userMessage(std::current_exception()), "Permission denied: /root/x");
    }
}

} // namespace kiv
