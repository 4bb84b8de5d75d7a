#include "files/FileSystemService.h"
#include "RowNames.h"
#include "TempDir.h"
#include "base/ErrorText.h"
#include "base/KivError.h"
#include "doors/ReadStream.h"
#include "doors/WriteStream.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"

#include <fcntl.h>
#include <sys/stat.h>
#include "Drained.h"

using namespace kiv;
using namespace kiv::test;
namespace {

using EntryKind = FileEntry::Kind;
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
    std::vector<FileEntry> listed(const std::string& path, Hidden hidden = Hidden::hide)
    {
        return fs.list(path, hidden, Door::ListingOrder::byName, nullptr);
    }

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

    auto rows = listed(dir.path());
    EXPECT_EQ(namesOf(rows),
        (std::vector<std::string> { "..", "Docs", "zeta", "a.txt", "Archive.TGZ", "B.txt", "data.gz", "file9",
            "file10", "link-to-zeta" }));
    const std::string parent = std::filesystem::path(dir.path()).parent_path().string();
    EXPECT_EQ(std::pair(rows[0].kind, rows[0].id), std::pair(EntryKind::parentDirectory, parent));
    for (auto [name, kind] : { std::pair { "Archive.TGZ", EntryKind::archive }, { "data.gz", EntryKind::regularFile },
             { "link-to-zeta", EntryKind::symlink }, { "Docs", EntryKind::directory } })
        EXPECT_EQ(rowNamed(rows, name).kind, kind) << name;
    const FileEntry& file = rowNamed(rows, "a.txt");
    const auto seconds = std::chrono::floor<std::chrono::seconds>(file.modificationDate.value());
    EXPECT_EQ(std::tuple(file.id, file.size, file.permissions, seconds.time_since_epoch().count()),
        std::tuple(dir / "a.txt", 5, "-rwxr-x--x", 9254341200))
        << "the permissions show the nine bits only, not set-user-ID";
    EXPECT_EQ(listed(dir.path(), Hidden::show).size(), rows.size() + 2); // .git and .profile

    // The root has no parent row; a trailing slash does not count as a level.
    EXPECT_NE(listed("/")[0].kind, EntryKind::parentDirectory);
    EXPECT_EQ(listed(dir.path() + "/")[0].id, parent);
    ::symlink((dir / "nowhere").c_str(), (dir / "dangling").c_str());
    for (const auto& path : { dir / "missing", dir / "a.txt", dir / "dangling" })
        EXPECT_EQ(errorText([&] { listed(path); }), "Not a directory: " + path);
}

TEST_F(FileSystemServiceTest, AwkwardNamesSurviveRenamingAndNothingExistingIsReplaced)
{
    for (const std::string name : { "with space", "new\nline", "-dash", "latin\xE9-1" }) {
        dir.write(name, "data:" + name);
        EXPECT_EQ(rowNamed(listed(dir.path()), name).name, name);
        fs.rename(dir / name, dir / (name + ".renamed"));
        EXPECT_EQ(readFile(dir / (name + ".renamed")), "data:" + name);
    }
    auto source = dir.write("a.txt", "new");
    dir.write("b.txt", "b");
    EXPECT_EQ(errorText([&] { fs.rename(source, dir / "b.txt"); }), "Already exists: " + dir / "b.txt");
    EXPECT_EQ(errorText([&] { fs.rename(source, source); }), "Already exists: " + source);
    EXPECT_EQ(errorText([&] { fs.makeFolder(source); }), "Already exists: " + source);
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
        = fs.list(dir.path(), Hidden::hide, Door::ListingOrder::byName, &control);
    std::vector<std::string> expected { "..", "d1", "d2", "d10" };
    for (int file = 0; file < fileCount; ++file)
        expected.push_back(std::string("f").append(std::to_string(file)));
    EXPECT_TRUE(namesOf(rows) == expected);
    EXPECT_GE(control.progress().itemsDone, fileCount - 4 * 512) << "the items read are counted";

    control.cancel();
    EXPECT_THROW(
        fs.list(dir.path(), Hidden::hide, Door::ListingOrder::byName, &control),
        JobCancelled);
}

TEST_F(FileSystemServiceTest, FactsOfItemsTellLinksNothingAndLoopsApart)
{
    const std::string file = dir.write("file.txt", "12345");
    ::chmod(file.c_str(), 0640);
    ::symlink("file.txt", (dir / "link").c_str());
    ::symlink("nowhere", (dir / "dangling").c_str());
    ::symlink("loop", (dir / "loop").c_str());
    const auto facts = fs.info(file, Door::Link::itself);
    ASSERT_TRUE(facts);
    EXPECT_EQ(std::tuple(facts->type, facts->size, facts->permissions.value_or(0)),
        std::tuple(ItemInfo::Type::file, 5, 0640u));
    EXPECT_EQ(fs.info(dir / "link", Door::Link::itself)->linkTarget, "file.txt");
    EXPECT_EQ(fs.info(dir / "link", Door::Link::followed)->type, ItemInfo::Type::file);
    EXPECT_EQ(fs.info(dir.path(), Door::Link::followed)->type, ItemInfo::Type::folder);
    EXPECT_EQ(fs.info(dir / "dangling", Door::Link::itself)->type, ItemInfo::Type::link);
    EXPECT_FALSE(fs.info(dir / "dangling", Door::Link::followed)) << "a dangling link leads to nothing";
    EXPECT_FALSE(fs.info(dir / "missing/deeper", Door::Link::itself));
    EXPECT_EQ(errorText([&] { fs.info(dir / "loop", Door::Link::followed); }).rfind("(system) ", 0), 0u)
        << "a loop is no missing item: it is said";
    EXPECT_EQ(fs.info(file, Door::Link::itself)->row(file, "file.txt"), listed(dir.path())[2]);
}

TEST_F(FileSystemServiceTest, FilesAreReadAsStreamsAndWrittenUnderATemporaryNameUntilCommitted)
{
    const std::string old = dir.write("old.txt", "old contents");
    ::chmod(old.c_str(), 0604);
    const auto in = fs.read(old);
    EXPECT_EQ(in->size(), 12);
    EXPECT_EQ(drained(*in, 3), "old contents");
    ::mkfifo((dir / "pipe").c_str(), 0600);
    for (const auto& refused : { dir / "pipe", dir.path() })
        EXPECT_EQ(errorText([&] { fs.read(refused); }), "Not a regular file: " + refused);
    EXPECT_EQ(errorText([&] { fs.read(dir / "missing"); }), "(system) No such file or directory: " + dir / "missing");

    {
        const auto dropped = fs.write(dir / "new.txt", std::nullopt, Door::Link::followed);
        dropped->write("half");
        EXPECT_EQ(namesOf(listed(dir.path())), (std::vector<std::string> { "..", "old.txt", "pipe" }))
            << "nothing shows under the real name, and the temporary name is hidden";
    }
    EXPECT_EQ(listed(dir.path(), Hidden::show).size(), 3u) << "a stream dropped leaves nothing behind";

    auto taken = fs.write(old, std::nullopt, Door::Link::followed);
    taken->write("new");
    EXPECT_EQ(errorText([&] { taken->commit(WriteStream::Replace::never); }), "Already exists: " + old);
    taken.reset();
    const auto replacing = fs.write(old, std::nullopt, Door::Link::followed);
    replacing->write("replaced");
    replacing->commit(WriteStream::Replace::file);
    EXPECT_EQ(readFile(old), "replaced");
    EXPECT_EQ(fs.info(old, Door::Link::itself)->permissions, 0604u) << "the old file's bits stay";
    const auto fresh = fs.write(dir / "fresh.txt", std::nullopt, Door::Link::followed);
    fresh->write("fresh");
    fresh->commit(WriteStream::Replace::never);
    EXPECT_EQ(readFile(dir / "fresh.txt"), "fresh");
    const auto open = fs.write(dir / "open.txt", 0666, Door::Link::followed);
    open->commit(WriteStream::Replace::never);
    EXPECT_EQ(fs.info(dir / "open.txt", Door::Link::itself)->permissions, 0666u) << "the bits asked for, past the umask";
    EXPECT_EQ(listed(dir.path(), Hidden::show).size(), 5u) << "no temporary file is left";
}

TEST_F(FileSystemServiceTest, FoldersLinksAttributesRenamesAndRemovalsChangeOnlyWhatTheyName)
{
    const std::string file = dir.write("a/file.txt", "x");
    fs.makeFolder(dir / "b");
    fs.makeLink(file, dir / "b/link");
    EXPECT_EQ(errorText([&] { fs.makeLink("other", dir / "b/link"); }), "Already exists: " + dir / "b/link");
    EXPECT_EQ(std::filesystem::read_symlink(dir / "b/link").string(), file);
    ItemInfo like;
    like.permissions = 0751;
    like.modified = FileTime(std::chrono::seconds(1'600'000'000) + std::chrono::microseconds(250));
    fs.keepAttributes(dir / "b", like);
    const auto kept = fs.info(dir / "b", Door::Link::itself);
    EXPECT_EQ(std::pair(kept->permissions, kept->modified), std::pair(like.permissions, like.modified));

    fs.rename(file, dir / "b/moved.txt"); // into another folder
    EXPECT_EQ(readFile(dir / "b/moved.txt"), "x");
    dir.write("a/file.txt", "y");
    EXPECT_EQ(errorText([&] { fs.rename(file, dir / "b/moved.txt"); }), "Already exists: " + dir / "b/moved.txt");

    fs.remove(dir / "b/link");
    EXPECT_TRUE(std::filesystem::exists(file)) << "a link goes without what it points to";
    EXPECT_EQ(errorText([&] { fs.remove(dir / "b"); }).rfind("(system) ", 0), 0u) << "a full folder stays";
    fs.remove(dir / "b/moved.txt");
    fs.remove(dir / "b");
    EXPECT_FALSE(std::filesystem::exists(dir / "b"));

    EXPECT_TRUE(fs.sharesFileSystem(file, fs, dir.path()));
    EXPECT_FALSE(fs.sharesFileSystem(file, fs, dir / "missing"));
    if (std::filesystem::is_directory("/dev/shm")) {
        EXPECT_FALSE(fs.sharesFileSystem(file, fs, "/dev/shm")) << "another file system";
    }
}
