#include "files/FileSystemService.h"
#include "RowNames.h"
#include "TempDir.h"
#include "base/ErrorText.h"
#include "base/KivError.h"

#include <fcntl.h>

using namespace kiv;
using namespace kiv::test;
namespace {

using Kind = FileEntry::Kind;
using Hidden = FileSystemService::HiddenFiles;
using Existing = FileSystemService::Existing;

// The row named `name` (the ".." row when there is none).
const FileEntry& rowNamed(const std::vector<FileEntry>& rows, const std::string& name)
{
    const auto found
        = std::find_if(rows.begin(), rows.end(), [&](const FileEntry& row) { return row.name == name; });
    return found == rows.end() ? rows.front() : *found;
}

// What the user reads when `operation` fails; platform failures are marked "(system) ".
template <typename Operation> std::string errorText(Operation operation)
{
    try {
        operation();
    } catch (const KivError& error) {
        return error.description();
    } catch (const std::exception& error) {
        return "(system) " + userMessage(error);
    }
    return "(no error)";
}

struct stat statOf(const std::string& path)
{
    struct stat info = {};
    ::lstat(path.c_str(), &info);
    return info;
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
    ::chmod((dir / "a.txt").c_str(), 04751);
    // Past the year 2262, where nanoseconds since 1970 overflow.
    const timespec late[2] = { { 0, UTIME_OMIT }, { 9254341200, 250'000'000 } }; // 2263-04-05 10:20:00.25
    ::utimensat(AT_FDCWD, (dir / "a.txt").c_str(), late, 0);

    auto rows = fs.listDirectory(dir.path(), Hidden::hide);
    EXPECT_EQ(namesOf(rows),
        (std::vector<std::string> { "..", "Docs", "zeta", "a.txt", "Archive.TGZ", "B.txt", "data.gz", "file9",
            "file10", "link-to-zeta" }));
    const std::string parent = std::filesystem::path(dir.path()).parent_path().string();
    EXPECT_EQ(std::pair(rows[0].kind, rows[0].id), std::pair(Kind::parentDirectory, parent));
    for (auto [name, kind] : { std::pair { "Archive.TGZ", Kind::archive }, { "data.gz", Kind::regularFile },
             { "link-to-zeta", Kind::symlink }, { "Docs", Kind::directory } })
        EXPECT_EQ(rowNamed(rows, name).kind, kind) << name;
    const FileEntry& file = rowNamed(rows, "a.txt");
    const auto seconds = std::chrono::floor<std::chrono::seconds>(file.modificationDate.value());
    EXPECT_EQ(std::tuple(file.id, file.size, file.permissions, seconds.time_since_epoch().count()),
        std::tuple(dir / "a.txt", 5, "-rwxr-x--x", 9254341200))
        << "the permissions show the nine bits only, not set-user-ID";
    EXPECT_EQ(fs.listDirectory(dir.path(), Hidden::show).size(), rows.size() + 2); // .git and .profile

    // The root has no parent row; a trailing slash does not count as a level.
    EXPECT_NE(fs.listDirectory("/", Hidden::hide)[0].kind, Kind::parentDirectory);
    EXPECT_EQ(fs.listDirectory(dir.path() + "/", Hidden::hide)[0].id, parent);
    ::symlink((dir / "nowhere").c_str(), (dir / "dangling").c_str());
    for (const auto& path : { dir / "missing", dir / "a.txt", dir / "dangling" })
        EXPECT_EQ(errorText([&] { fs.listDirectory(path, Hidden::hide); }), "Not a directory: " + path);
}

TEST_F(FileSystemServiceTest, AwkwardNamesSurviveEveryOperation)
{
    auto target = dir.folder("target");
    for (const std::string name : { "with space", "new\nline", "-dash", "latin\xE9-1" }) {
        dir.write(name, "data:" + name);
        EXPECT_EQ(rowNamed(fs.listDirectory(dir.path(), Hidden::hide), name).name, name);
        fs.copy(dir / name, target);
        fs.rename(dir / name, name + ".renamed");
        fs.move(dir / (name + ".renamed"), dir.folder("moved"));
        EXPECT_EQ(readFile(dir / ("moved/" + name + ".renamed")), "data:" + name);
        EXPECT_EQ(readFile(target + "/" + name), "data:" + name);
        fs.deleteItem(target + "/" + name);
        EXPECT_FALSE(std::filesystem::exists(target + "/" + name));
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
    ::chmod((tree + "/sub").c_str(), 0711);
    // A read-only folder is copied whole: its mode is applied once its contents are in.
    dir.write("tree/sealed/kept.txt", "kept");
    ::chmod((tree + "/sealed").c_str(), 0555);

    fs.copy(tree, dir.folder("out"));

    auto copy = dir / "out/tree/";
    EXPECT_EQ(std::pair(readFile(copy + "sub/inner.txt"), readFile(copy + "sealed/kept.txt")),
        (std::pair<std::string, std::string>("inner", "kept")));
    for (auto [name, mode] : { std::pair { "run.sh", 0750u }, { "sub", 0711u }, { "sealed", 0555u } })
        EXPECT_EQ(statOf(copy + name).st_mode & 07777, mode) << name;
    for (auto name : { "run.sh", "sub" })
        EXPECT_EQ(statOf(copy + name).st_mtim.tv_sec, 1000000000) << name;
    EXPECT_EQ(statOf(copy + "run.sh").st_mtim.tv_nsec, 500000000);
    EXPECT_EQ(std::filesystem::read_symlink(copy + "link"), "sub/inner.txt");
    EXPECT_TRUE(S_ISFIFO(statOf(copy + "pipe").st_mode));
}

TEST_F(FileSystemServiceTest, NothingExistingIsEverReplacedAndAFailureLeavesNoHalfCopy)
{
    auto source = dir.write("a.txt", "new");
    auto destination = dir.folder("dest");
    dir.write("dest/a.txt", "old");
    dir.write("b.txt", "b");
    const std::string taken = "Already exists: " + destination + "/a.txt";
    EXPECT_EQ(errorText([&] { fs.copy(source, destination); }), taken);
    EXPECT_EQ(errorText([&] { fs.move(source, destination); }), taken);
    EXPECT_EQ(errorText([&] { fs.rename(source, "b.txt"); }), "Already exists: " + dir / "b.txt");
    EXPECT_EQ(errorText([&] { fs.rename(source, "a.txt"); }), "Already exists: " + source);
    EXPECT_EQ(errorText([&] { fs.makeDirectory("a.txt", dir.path()); }), "Already exists: " + source);
    EXPECT_ANY_THROW(fs.move(source, dir / "no/such/folder"));
    EXPECT_ANY_THROW(fs.copy(source, dir / "no/such/folder"));

    // A move under a new name is one step: a taken name leaves the item where it was, not
    // half-way in the destination, and a free one takes it whatever else is there.
    auto second = dir.write("c.txt", "stays");
    EXPECT_EQ(errorText([&] { fs.move(second, destination, "a.txt"); }), taken);
    fs.move(source, destination, "b.txt");
    EXPECT_EQ((std::vector { readFile(second), readFile(destination + "/b.txt"),
                  readFile(destination + "/a.txt"), readFile(dir / "b.txt") }),
        (std::vector<std::string> { "stays", "new", "old", "b" }));
    EXPECT_FALSE(std::filesystem::exists(destination + "/c.txt") || std::filesystem::exists(source));

    if (!test::permissionBitsBind(dir))
        GTEST_SKIP() << "permission bits do not bind for this process (root with DAC override)";
    auto readOnly = dir.folder("readonly");
    ::chmod(readOnly.c_str(), 0555);
    EXPECT_EQ(
        errorText([&] { fs.copy(second, readOnly); }), "(system) Permission denied: " + readOnly + "/c.txt");
    dir.write("tree/ok.txt", "ok");
    ::chmod(dir.write("tree/secret.txt", "secret").c_str(), 0);
    EXPECT_ANY_THROW(fs.copy(dir / "tree", dir.folder("out")));
    EXPECT_FALSE(std::filesystem::exists(dir / "out/tree")) << "a failed copy left a partial tree";
}

TEST_F(FileSystemServiceTest, OverwriteReplacesOthersButNeverTheSourceAndNoFolderGoesIntoItself)
{
    auto source = dir.write("a.txt", "mine");
    fs.copy(source, dir.path(), Existing::replace);
    dir.write("dest/a.txt/old", "replaced folder");
    fs.copy(source, dir / "dest", Existing::replace);
    EXPECT_EQ(std::pair(readFile(source), readFile(dir / "dest/a.txt")),
        (std::pair<std::string, std::string>("mine", "mine")));
    dir.write("nest/nest/keep", "keep");
    EXPECT_THROW(fs.copy(dir / "nest/nest", dir.path(), Existing::replace), KivError);
    EXPECT_EQ(readFile(dir / "nest/nest/keep"), "keep");

    // A folder into itself or its own subfolder is refused, naming it, before anything happens.
    auto folder = dir.folder("box");
    auto inner = dir.folder("box/inner");
    for (const auto& destination : { folder, inner }) {
        for (const auto& text : { errorText([&] { fs.copy(folder, destination); }),
                 errorText([&] { fs.move(folder, destination); }) })
            EXPECT_TRUE(text.find(folder) != std::string::npos && !text.starts_with("(system)")) << text;
    }
    EXPECT_EQ(namesOf(fs.listDirectory(folder, Hidden::hide)), (std::vector<std::string> { "..", "inner" }));
    EXPECT_EQ(namesOf(fs.listDirectory(inner, Hidden::hide)), (std::vector<std::string> { ".." }));
}

TEST_F(FileSystemServiceTest, MoveAcrossFileSystemsCopiesThenRemoves)
{
    struct stat shm = {};
    if (::stat("/dev/shm", &shm) != 0 || statOf(dir.path()).st_dev == shm.st_dev)
        GTEST_SKIP() << "no second file system at /dev/shm";
    TempDir other("/dev/shm");
    dir.write("tree/a/b.txt", "b");
    fs.move(dir / "tree", other.path());
    EXPECT_EQ(readFile(other.path() + "/tree/a/b.txt"), "b");
    EXPECT_FALSE(std::filesystem::exists(dir / "tree"));
}

TEST_F(FileSystemServiceTest, DeleteRemovesTreesAndLinksButNeverWhatALinkPointsTo)
{
    // A folder holding a link to a folder outside it: the link goes with the folder, not the target.
    auto target = dir.write("kept/file.txt", "kept");
    dir.write("full/a/b/c.txt", "c");
    ::symlink((dir / "kept").c_str(), (dir / "full/a/link").c_str());
    ::symlink((dir / "kept").c_str(), (dir / "link").c_str());
    fs.deleteItem(dir / "full");
    fs.deleteItem(dir / "link");
    EXPECT_FALSE(std::filesystem::exists(dir / "full") || std::filesystem::is_symlink(dir / "link"));
    EXPECT_EQ(readFile(target), "kept");
}

} // namespace
