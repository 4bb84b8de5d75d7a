#include "files/FileSystemService.h"
#include "RowNames.h"
#include "TempDir.h"
#include "base/ErrorText.h"
#include "base/KivError.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"

#include <fcntl.h>

using namespace kiv;
using namespace kiv::test;
namespace {

using Kind = FileEntry::Kind;
using Hidden = FileSystemService::HiddenFiles;

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

TEST_F(FileSystemServiceTest, AwkwardNamesSurviveRenamingAndNothingExistingIsReplaced)
{
    for (const std::string name : { "with space", "new\nline", "-dash", "latin\xE9-1" }) {
        dir.write(name, "data:" + name);
        EXPECT_EQ(rowNamed(fs.listDirectory(dir.path(), Hidden::hide), name).name, name);
        fs.rename(dir / name, name + ".renamed");
        EXPECT_EQ(readFile(dir / (name + ".renamed")), "data:" + name);
    }
    auto source = dir.write("a.txt", "new");
    dir.write("b.txt", "b");
    EXPECT_EQ(errorText([&] { fs.rename(source, "b.txt"); }), "Already exists: " + dir / "b.txt");
    EXPECT_EQ(errorText([&] { fs.rename(source, "a.txt"); }), "Already exists: " + source);
    EXPECT_EQ(errorText([&] { fs.makeDirectory("a.txt", dir.path()); }), "Already exists: " + source);
    EXPECT_EQ(std::pair(readFile(source), readFile(dir / "b.txt")),
        (std::pair<std::string, std::string>("new", "b")));
}

} // namespace

TEST_F(FileSystemServiceTest, ALargeFolderListedInPartsLosesNoNameAndStopsWhenItsJobIsCancelled)
{
    // Enough names for the lookups to be split between threads; the folders among them must still
    // come first, each name once and in order.
    constexpr int fileCount = 9000;
    for (int file = 0; file < fileCount; ++file)
        ::close(::open(
            (dir / (std::string("f").append(std::to_string(file)))).c_str(), O_CREAT | O_WRONLY, 0600));
    for (auto name : { "d1", "d2", "d10" })
        dir.folder(name);
    JobControl control;
    const auto rows
        = fs.listDirectory(dir.path(), Hidden::hide, FileSystemService::ListingOrder::byName, &control);
    std::vector<std::string> expected { "..", "d1", "d2", "d10" };
    for (int file = 0; file < fileCount; ++file)
        expected.push_back(std::string("f").append(std::to_string(file)));
    EXPECT_TRUE(namesOf(rows) == expected);
    EXPECT_GE(control.progress().itemsDone, fileCount - 4 * 512) << "the items read are counted";

    control.cancel();
    EXPECT_THROW(
        fs.listDirectory(dir.path(), Hidden::hide, FileSystemService::ListingOrder::byName, &control),
        JobCancelled);
}
