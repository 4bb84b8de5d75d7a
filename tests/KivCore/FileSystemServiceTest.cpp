#include "FileSystemService.h"
#include "ErrorText.h"
#include "KivError.h"
#include "TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kiv {
namespace {

using Kind = FileEntry::Kind;
using test::readFile;
using test::TempDir;

std::vector<std::string> namesOf(const std::vector<FileEntry>& rows)
{
    std::vector<std::string> names;
    for (const auto& row : rows)
        names.push_back(row.name);
    return names;
}

const FileEntry& rowNamed(const std::vector<FileEntry>& rows, const std::string& name)
{
    for (const auto& row : rows) {
        if (row.name == name)
            return row;
    }
    throw std::runtime_error("no row " + name);
}

template <typename Operation> std::string kivErrorText(Operation operation)
{
    try {
        operation();
    } catch (const KivError& error) {
        return error.description();
    }
    return "(no KivError)";
}

timespec mtimeOf(const std::string& path)
{
    struct stat info;
    ::lstat(path.c_str(), &info);
    return info.st_mtim;
}

mode_t modeOf(const std::string& path)
{
    struct stat info;
    ::lstat(path.c_str(), &info);
    return info.st_mode;
}

class FileSystemServiceTest : public ::testing::Test
{
protected:
    TempDir dir;
    FileSystemService fs;
};

TEST_F(FileSystemServiceTest, ListsParentThenFoldersThenFilesInFileNameOrder)
{
    for (auto name : { "a.txt", "B.txt", "file10", "file9", "Archive.TGZ", "data.gz", ".profile" })
        dir.write(name, "12345");
    for (auto name : { "Docs", "zeta", ".git" })
        dir.folder(name);
    ::symlink(dir.folder("zeta").c_str(), (dir / "link-to-zeta").c_str());

    auto rows = fs.listDirectory(dir.path(), false);
    EXPECT_EQ(namesOf(rows),
        (std::vector<std::string> { "..", "Docs", "zeta", "a.txt", "Archive.TGZ", "B.txt", "data.gz", "file9",
            "file10", "link-to-zeta" }));
    EXPECT_EQ(rows[0].kind, Kind::parentDirectory);
    EXPECT_EQ(rows[0].id, std::filesystem::path(dir.path()).parent_path().string());
    EXPECT_FALSE(rows[0].modificationDate || rows[0].permissions);
    EXPECT_EQ(rowNamed(rows, "Archive.TGZ").kind, Kind::archive);
    EXPECT_EQ(rowNamed(rows, "data.gz").kind, Kind::regularFile);
    EXPECT_EQ(rowNamed(rows, "link-to-zeta").kind, Kind::symlink);
    EXPECT_EQ(rowNamed(rows, "Docs").size, 0);
    EXPECT_EQ(rowNamed(rows, "Docs").permissions.value_or("")[0], 'd');
    EXPECT_EQ(rowNamed(rows, "a.txt").size, 5);
    EXPECT_EQ(rowNamed(rows, "a.txt").id, dir / "a.txt");
    EXPECT_TRUE(rowNamed(rows, "a.txt").modificationDate.has_value());

    auto hidden = namesOf(fs.listDirectory(dir.path(), true));
    EXPECT_NE(std::find(hidden.begin(), hidden.end(), ".git"), hidden.end());
    EXPECT_NE(std::find(hidden.begin(), hidden.end(), ".profile"), hidden.end());
}

TEST_F(FileSystemServiceTest, PermissionTextShowsTheNineBitsOnly)
{
    auto file = dir.write("script");
    ::chmod(file.c_str(), 04751);
    EXPECT_EQ(rowNamed(fs.listDirectory(dir.path(), false), "script").permissions, "-rwxr-x--x");
}

TEST_F(FileSystemServiceTest, ParentRowOfRootAndOfTrailingSlashPaths)
{
    auto root = fs.listDirectory("/", false);
    ASSERT_FALSE(root.empty());
    EXPECT_NE(root[0].kind, Kind::parentDirectory);
    EXPECT_EQ(fs.listDirectory("/usr/", false)[0].id, "/");
    EXPECT_EQ(fs.listDirectory(dir.path() + "/", false)[0].id,
        std::filesystem::path(dir.path()).parent_path().string());
}

TEST_F(FileSystemServiceTest, ListingSomethingThatIsNotAFolderSaysSo)
{
    auto file = dir.write("plain");
    ::symlink((dir / "nowhere").c_str(), (dir / "dangling").c_str());
    for (const auto& path : { dir / "missing", file, dir / "dangling" })
        EXPECT_EQ(kivErrorText([&] { fs.listDirectory(path, false); }), "Not a directory: " + path);
}

TEST_F(FileSystemServiceTest, UnreadableFolderGivesThePlatformMessage)
{
    if (!test::permissionBitsBind(dir))
        GTEST_SKIP() << "permission bits do not bind for this process (root with DAC override)";
    auto locked = dir.folder("locked");
    ::chmod(locked.c_str(), 0);
    try {
        fs.listDirectory(locked, false);
        ADD_FAILURE() << "listing an unreadable folder succeeded";
    } catch (const std::exception& error) {
        EXPECT_EQ(userMessage(error), "Permission denied: " + locked);
    }
}

TEST_F(FileSystemServiceTest, AwkwardNamesSurviveEveryOperation)
{
    const std::string names[] = { "with space", "new\nline", "-dash", std::string("latin\xE9-1") };
    auto target = dir.folder("target");
    for (const auto& name : names) {
        dir.write(name, "data:" + name);
        EXPECT_NO_THROW(rowNamed(fs.listDirectory(dir.path(), false), name)) << name;
        fs.copy(dir / name, target);
        EXPECT_EQ(readFile(target + "/" + name), "data:" + name);
        fs.rename(dir / name, name + ".renamed");
        fs.move(dir / (name + ".renamed"), dir.folder("moved"));
        EXPECT_EQ(readFile(dir / ("moved/" + name + ".renamed")), "data:" + name);
        fs.deleteItem(target + "/" + name);
        EXPECT_NE(::access((target + "/" + name).c_str(), F_OK), 0);
    }
}

TEST_F(FileSystemServiceTest, CopyKeepsTimesPermissionsLinksAndSpecialFiles)
{
    auto tree = dir.folder("tree");
    dir.write("tree/sub/inner.txt", "inner");
    auto file = dir.write("tree/run.sh", "#!/bin/sh\n");
    ::chmod(file.c_str(), 0750);
    ::symlink("sub/inner.txt", (tree + "/link").c_str());
    ::mkfifo((tree + "/pipe").c_str(), 0640);
    const timespec old[2] = { { 1000000000, 0 }, { 1000000000, 500000000 } };
    ::utimensat(AT_FDCWD, file.c_str(), old, 0);
    ::utimensat(AT_FDCWD, (tree + "/sub").c_str(), old, 0);

    fs.copy(tree, dir.folder("out"));

    auto copy = dir / "out/tree";
    EXPECT_EQ(readFile(copy + "/sub/inner.txt"), "inner");
    EXPECT_EQ(modeOf(copy + "/run.sh") & 07777, 0750u);
    EXPECT_EQ(mtimeOf(copy + "/run.sh").tv_sec, 1000000000);
    EXPECT_EQ(mtimeOf(copy + "/run.sh").tv_nsec, 500000000);
    EXPECT_EQ(mtimeOf(copy + "/sub").tv_sec, 1000000000);
    EXPECT_TRUE(S_ISLNK(modeOf(copy + "/link")));
    EXPECT_EQ(std::filesystem::read_symlink(copy + "/link"), "sub/inner.txt");
    EXPECT_TRUE(S_ISFIFO(modeOf(copy + "/pipe")));
}

TEST_F(FileSystemServiceTest, NothingExistingIsEverReplaced)
{
    auto source = dir.write("a.txt", "new");
    auto destination = dir.folder("dest");
    dir.write("dest/a.txt", "old");
    EXPECT_EQ(
        kivErrorText([&] { fs.copy(source, destination); }), "Already exists: " + destination + "/a.txt");
    EXPECT_EQ(
        kivErrorText([&] { fs.move(source, destination); }), "Already exists: " + destination + "/a.txt");
    dir.write("b.txt", "b");
    EXPECT_EQ(kivErrorText([&] { fs.rename(source, "b.txt"); }), "Already exists: " + dir / "b.txt");
    EXPECT_EQ(kivErrorText([&] { fs.rename(source, "a.txt"); }), "Already exists: " + source);
    EXPECT_EQ(kivErrorText([&] { fs.makeDirectory("a.txt", dir.path()); }), "Already exists: " + source);
    EXPECT_EQ(readFile(source), "new");
    EXPECT_EQ(readFile(destination + "/a.txt"), "old");
    EXPECT_EQ(readFile(dir / "b.txt"), "b");
}

TEST_F(FileSystemServiceTest, MoveUnderANewNameIsOneStepThatNeverReplaces)
{
    auto source = dir.write("a.txt", "moving");
    auto destination = dir.folder("dest");
    dir.write("dest/a.txt", "same name, other file");
    fs.move(source, destination, "b.txt");
    EXPECT_EQ(readFile(destination + "/b.txt"), "moving");
    EXPECT_EQ(readFile(destination + "/a.txt"), "same name, other file");
    EXPECT_NE(::access(source.c_str(), F_OK), 0);

    // A taken new name leaves the item where it was, not half-way in the destination.
    auto second = dir.write("c.txt", "stays");
    EXPECT_EQ(kivErrorText([&] { fs.move(second, destination, "b.txt"); }),
        "Already exists: " + destination + "/b.txt");
    EXPECT_EQ(readFile(second), "stays");
    EXPECT_EQ(readFile(destination + "/b.txt"), "moving");
    EXPECT_NE(::access((destination + "/c.txt").c_str(), F_OK), 0);
}

TEST_F(FileSystemServiceTest, OverwriteReplacesOthersButNeverTheSourceItself)
{
    auto source = dir.write("a.txt", "mine");
    fs.copy(source, dir.path(), true);
    EXPECT_EQ(readFile(source), "mine");

    dir.write("dest/a.txt/old", "replaced folder");
    fs.copy(source, dir / "dest", true);
    EXPECT_EQ(readFile(dir / "dest/a.txt"), "mine");

    dir.write("nest/nest/keep", "keep");
    EXPECT_THROW(fs.copy(dir / "nest/nest", dir.path(), true), KivError);
    EXPECT_EQ(readFile(dir / "nest/nest/keep"), "keep");
}

TEST_F(FileSystemServiceTest, FolderIntoItselfIsRefusedBeforeAnythingHappens)
{
    auto folder = dir.folder("box");
    auto inner = dir.folder("box/inner");
    for (const auto& destination : { folder, inner }) {
        auto copyText = kivErrorText([&] { fs.copy(folder, destination); });
        auto moveText = kivErrorText([&] { fs.move(folder, destination); });
        EXPECT_NE(copyText.find(folder), std::string::npos) << copyText;
        EXPECT_NE(moveText.find(folder), std::string::npos) << moveText;
    }
    EXPECT_EQ(namesOf(fs.listDirectory(folder, false)), (std::vector<std::string> { "..", "inner" }));
    EXPECT_EQ(namesOf(fs.listDirectory(inner, false)), (std::vector<std::string> { ".." }));
}

TEST_F(FileSystemServiceTest, FailedOperationsLeaveTheSourceWholeAndNoHalfCopy)
{
    auto source = dir.write("a.txt", "keep me");
    EXPECT_ANY_THROW(fs.move(source, dir / "no/such/folder"));
    EXPECT_ANY_THROW(fs.copy(source, dir / "no/such/folder"));
    EXPECT_EQ(readFile(source), "keep me");

    if (!test::permissionBitsBind(dir))
        GTEST_SKIP() << "permission bits do not bind for this process (root with DAC override)";
    auto readOnly = dir.folder("readonly");
    ::chmod(readOnly.c_str(), 0555);
    try {
        fs.copy(source, readOnly);
        ADD_FAILURE() << "copy into a read-only folder succeeded";
    } catch (const std::exception& error) {
        EXPECT_EQ(userMessage(error), "Permission denied: " + readOnly + "/a.txt");
    }
    auto tree = dir.folder("tree");
    dir.write("tree/ok.txt", "ok");
    auto secret = dir.write("tree/secret.txt", "secret");
    ::chmod(secret.c_str(), 0);
    EXPECT_ANY_THROW(fs.copy(tree, dir.folder("out")));
    EXPECT_NE(::access((dir / "out/tree").c_str(), F_OK), 0) << "a failed copy left a partial tree";
}

TEST_F(FileSystemServiceTest, MoveAcrossFileSystemsCopiesThenRemoves)
{
    struct stat here, shm;
    if (::stat(dir.path().c_str(), &here) != 0 || ::stat("/dev/shm", &shm) != 0 || here.st_dev == shm.st_dev)
        GTEST_SKIP() << "no second file system at /dev/shm";
    TempDir other("/dev/shm");
    dir.write("tree/a/b.txt", "b");
    fs.move(dir / "tree", other.path());
    EXPECT_EQ(readFile(other.path() + "/tree/a/b.txt"), "b");
    EXPECT_NE(::access((dir / "tree").c_str(), F_OK), 0);
}

TEST_F(FileSystemServiceTest, DeleteRemovesTreesAndLinksButNotLinkTargets)
{
    dir.write("full/a/b/c.txt", "c");
    fs.deleteItem(dir / "full");
    EXPECT_NE(::access((dir / "full").c_str(), F_OK), 0);

    auto target = dir.write("kept/file.txt", "kept");
    ::symlink((dir / "kept").c_str(), (dir / "link").c_str());
    fs.deleteItem(dir / "link");
    EXPECT_EQ(readFile(target), "kept");
    EXPECT_NE(::access((dir / "link").c_str(), F_OK), 0);
}

TEST_F(FileSystemServiceTest, HomeComesFromTheEnvironment)
{
    EXPECT_EQ(fs.homeDirectoryPath(), std::string(std::getenv("HOME")));
}

} // namespace
} // namespace kiv
