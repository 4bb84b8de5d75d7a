#include "panel/PanelState.h"

#include "RowNames.h"
#include "TempDir.h"
#include "base/KivError.h"

#include <fcntl.h>
#include <set>
#include <sys/stat.h>

using namespace kiv;
using namespace kiv::test;
namespace {

using Names = std::vector<std::string>;

std::ptrdiff_t indexOf(const PanelState& state, const std::string& name)
{
    auto names = namesOf(state.entries());
    auto found = std::find(names.begin(), names.end(), name);
    if (found == names.end())
        throw std::runtime_error("no row " + name);
    return found - names.begin();
}

// A panel on "data": folders alpha, beta, gamma, files a.txt (5 bytes), b.txt (10), c.txt and .hidden.
class PanelStateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (auto folder : { "alpha", "beta", "gamma" })
            m_root.folder("data/" + std::string(folder));
        for (auto [name, text] :
            { std::pair { "a.txt", "12345" }, { "b.txt", "1234567890" }, { "c.txt", "" }, { ".hidden", "" } })
            m_root.write("data/" + std::string(name), text);
        m_state.refresh();
    }

    bool enter(const std::string& name)
    {
        const auto destination = m_state.destinationOf(m_state.entries()[indexOf(m_state, name)]);
        if (destination)
            m_state.goTo(destination->place, destination->cursorName);
        return destination.has_value();
    }
    void toggle(const std::string& name) { m_state.toggleMark(indexOf(m_state, name)); }
    Names selection() { return namesOf(m_state.selectionForOperation()); }
    Names rows() { return namesOf(m_state.entries()); }
    // Enters each of `names` in turn and returns the rows listed then.
    Names afterEntering(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            EXPECT_TRUE(enter(name)) << name;
        return rows();
    }

    test::TempDir m_root;
    std::string m_data = m_root.folder("data");
    PanelState m_state { m_data };
};

TEST_F(PanelStateTest, EnteringFoldersStartsOnTheFirstRowComingBackLandsOnTheFolderLeftMarksGo)
{
    EXPECT_EQ(rows(), (Names { "..", "alpha", "beta", "gamma", "a.txt", "b.txt", "c.txt" }));
    m_state.setCursorIndex(6);
    toggle("a.txt");
    EXPECT_EQ(afterEntering({ "beta" }), Names { ".." });
    EXPECT_EQ(m_state.location(), PanelLocation::filesystem(m_data + "/beta"));
    EXPECT_EQ(std::pair(m_state.cursorIndex(), m_state.markedNames().size()),
        std::pair(std::ptrdiff_t { 0 }, std::size_t { 0 }));
    afterEntering({ ".." });
    EXPECT_EQ(m_state.location(), PanelLocation::filesystem(m_data));
    EXPECT_EQ(m_state.cursorIndex(), indexOf(m_state, "beta"));

    // Files lead nowhere and change nothing; a link to a folder is entered at its own path.
    std::filesystem::create_directory_symlink(m_data + "/alpha", m_data + "/link");
    m_state.refresh();
    m_state.setCursorIndex(3);
    EXPECT_FALSE(enter("a.txt"));
    EXPECT_EQ(m_state.cursorIndex(), 3);
    EXPECT_TRUE(enter("link"));
    EXPECT_EQ(m_state.location(), PanelLocation::filesystem(m_data + "/link"));
    afterEntering({ ".." });

    // A folder gone to by path starts afresh too, even where the marked names are listed again.
    m_root.write("other/a.txt");
    toggle("a.txt");
    m_state.goTo(m_root / "other");
    EXPECT_EQ(std::pair(m_state.cursorIndex(), m_state.markedNames().size()),
        std::pair(std::ptrdiff_t { 0 }, std::size_t { 0 }));
}

TEST_F(PanelStateTest, MarksAndTheCursorFollowNamesAndTheCursorStaysInsideAfterRelisting)
{
    for (std::ptrdiff_t index : { indexOf(m_state, "a.txt"), indexOf(m_state, "b.txt"), std::ptrdiff_t { 0 },
             std::ptrdiff_t { -1 }, std::ptrdiff_t { 100 } })
        m_state.toggleMark(index);
    EXPECT_EQ(selection(), (Names { "a.txt", "b.txt" }));
    EXPECT_EQ(m_state.totalMarkedSize(), 15);

    // b.txt vanishes and a new name sorts in before a.txt, which keeps its mark and the cursor on
    // its new row.
    m_state.setCursorIndex(indexOf(m_state, "a.txt"));
    std::filesystem::remove(m_data + "/b.txt");
    m_root.write("data/0.txt", "x");
    m_state.refresh();
    EXPECT_EQ(selection(), Names { "a.txt" });
    EXPECT_EQ(m_state.cursorIndex(), indexOf(m_state, "a.txt"));

    // Without marks the cursor row is the selection, except "..".
    m_state.setCursorIndex(0);
    toggle("a.txt");
    EXPECT_TRUE(m_state.selectionForOperation().empty());
    m_state.setCursorIndex(indexOf(m_state, "a.txt"));
    EXPECT_EQ(m_state.totalMarkedSize(), 5);
    toggle("c.txt");
    toggle("beta");
    EXPECT_EQ(selection(), (Names { "beta", "c.txt" }));

    // Rows vanish under the cursor on the last row: it moves to the new last row.
    m_state.setCursorIndex(std::ssize(m_state.entries()) - 1);
    for (auto name : { "0.txt", "a.txt", "c.txt" })
        std::filesystem::remove(m_data + "/" + name);
    m_state.refresh();
    EXPECT_EQ(m_state.cursorIndex(), std::ssize(m_state.entries()) - 1);
    EXPECT_EQ(selection(), Names { "beta" });
    m_state.setCursorIndex(-1);
    m_state.refresh();
    EXPECT_EQ(m_state.cursorIndex(), 0);
}

TEST_F(PanelStateTest, GroupMarksAndSortOrdersApplyToTheListedRows)
{
    m_state.markMatching(NamePatterns("*.TXT;.."), PanelState::MarkChange::mark);
    m_state.markMatching(NamePatterns("b*"), PanelState::MarkChange::unmark);
    EXPECT_EQ(selection(), (Names { "a.txt", "c.txt" }));
    m_state.invertMarks();
    EXPECT_EQ(selection(), (Names { "alpha", "beta", "gamma", "b.txt" }));

    // A new order shows at the next listing, folders still first; the cursor can follow its row.
    m_state.setCursorIndex(indexOf(m_state, "a.txt"));
    m_state.setSortOrder({ SortOrder::Key::size, SortOrder::Direction::descending });
    m_state.refresh();
    m_state.placeCursorOn("a.txt");
    EXPECT_EQ(rows(), (Names { "..", "alpha", "beta", "gamma", "b.txt", "a.txt", "c.txt" }));
    EXPECT_EQ(m_state.cursorIndex(), 5);
    m_state.setSortOrder({ SortOrder::Key::unsorted });
    m_state.refresh();
    const auto listed = rows();
    EXPECT_EQ(std::multiset<std::string>(listed.begin(), listed.end()),
        (std::multiset<std::string> { "..", "alpha", "beta", "gamma", "a.txt", "b.txt", "c.txt" }));
}

TEST_F(PanelStateTest, ARefusedFolderLeavesThePanelExactlyAsItWas)
{
    m_root.folder("data/locked/inside");
    m_state.refresh();
    toggle("a.txt");
    m_state.setCursorIndex(indexOf(m_state, "c.txt"));
    auto expectUnchanged = [this, before = m_state.location(), rows = m_state.entries(),
                               marks = m_state.markedNames(), cursor = m_state.cursorIndex()] {
        EXPECT_EQ(m_state.location(), before);
        EXPECT_EQ(m_state.entries(), rows);
        EXPECT_EQ(m_state.markedNames(), marks);
        EXPECT_EQ(m_state.cursorIndex(), cursor);
    };
    std::filesystem::remove(m_data + "/gamma");
    EXPECT_THROW(enter("gamma"), KivError);
    expectUnchanged();
    EXPECT_THROW(m_state.goTo(m_data + "/gamma"), KivError);
    expectUnchanged();

    if (!test::permissionBitsBind(m_root))
        GTEST_SKIP() << "permission bits do not bind for this process (root with DAC override)";
    ::chmod((m_data + "/locked").c_str(), 0);
    EXPECT_THROW(enter("locked"), std::filesystem::filesystem_error);
    expectUnchanged();
    ::chmod(m_data.c_str(), 0);
    EXPECT_THROW(m_state.refresh(), std::filesystem::filesystem_error);
    expectUnchanged();
}

TEST_F(PanelStateTest, EnteringArchivesAndTheirFoldersAndComingBackWithTheListingCached)
{
    for (auto [path, text] : { std::pair { "src/docs/img/logo.png", "png" }, { "src/top.txt", "0123456789" },
             { "src/inner.zip", "not really a zip" }, { "data/broken.zip", "not a zip at all" } })
        m_root.write(path, text);
    m_root.run(
        "cd src && zip -r ../data/docs.zip docs top.txt inner.zip && tar -czf ../data/bundle.tar.gz docs");
    auto archive = m_data + "/docs.zip";
    m_state.refresh();
    const Names members { "..", "docs", "inner.zip", "top.txt" };
    EXPECT_EQ(afterEntering({ "docs.zip" }), members);
    EXPECT_EQ(m_state.location(), PanelLocation::archive(archive, ""));
    EXPECT_EQ(m_state.location().nearestRealDirectory(), m_data);
    toggle("top.txt");
    EXPECT_EQ(m_state.totalMarkedSize(), 10);
    EXPECT_FALSE(enter("inner.zip")) << "archives inside archives are not entered";
    EXPECT_EQ(afterEntering({ "docs", "img" }), (Names { "..", "logo.png" }));
    EXPECT_EQ(m_state.location().displayPath(), archive + " :: /docs/img/");
    // Each way up lands on the row of the folder or archive just left.
    for (auto [expected, cameFrom] : { std::pair { PanelLocation::archive(archive, "docs/"), "img" },
             { PanelLocation::archive(archive, ""), "docs" },
             { PanelLocation::filesystem(m_data), "docs.zip" } }) {
        afterEntering({ ".." });
        EXPECT_EQ(m_state.location(), expected);
        EXPECT_EQ(m_state.cursorIndex(), indexOf(m_state, cameFrom));
    }

    // A changed archive shows the listing read before until another archive has been entered.
    m_root.run("cd src && rm ../data/docs.zip && zip ../data/docs.zip top.txt");
    EXPECT_EQ(afterEntering({ "docs.zip" }), members);
    EXPECT_EQ(afterEntering({ "..", "bundle.tar.gz", "docs" }), (Names { "..", "img" }));
    EXPECT_EQ(afterEntering({ "..", "..", "docs.zip" }), (Names { "..", "top.txt" }));
    // A damaged archive, or a pipe named like one, leaves the panel where it was.
    ASSERT_EQ(::mkfifo((m_data + "/pipe.zip").c_str(), 0600), 0);
    afterEntering({ ".." });
    const auto before = m_state.entries();
    EXPECT_THROW(enter("broken.zip"), KivError);
    EXPECT_FALSE(enter("pipe.zip"));
    EXPECT_EQ(m_state.location(), PanelLocation::filesystem(m_data));
    EXPECT_EQ(m_state.entries(), before);
}

} // namespace

TEST_F(PanelStateTest, AFolderSizeStaysThroughRelistingUntilTheFolderChangesOrThePanelLeaves)
{
    const auto alpha = [&] { return m_state.entries()[std::size_t(indexOf(m_state, "alpha"))]; };
    m_state.setFolderSize("alpha", 5);
    m_state.setFolderSize("a.txt", 7); // not a folder: nothing
    m_state.refresh();
    EXPECT_TRUE(alpha().sizeMeasured);
    EXPECT_EQ(alpha().size, 5);
    EXPECT_EQ(m_state.entries()[std::size_t(indexOf(m_state, "a.txt"))].size, 5);

    const timespec times[2] = { { 1000, 0 }, { 1000, 0 } };
    ::utimensat(AT_FDCWD, (m_data + "/alpha").c_str(), times, 0);
    m_state.refresh();
    EXPECT_FALSE(alpha().sizeMeasured);

    m_state.setFolderSize("alpha", 5);
    enter("beta");
    enter("..");
    EXPECT_FALSE(alpha().sizeMeasured);
}
