#include "ProgramTest.h"
#include "toolkit/RetroMenuPanel.h"
#include "toolkit/RetroMenuSession.h"
#include "toolkit/RetroMenuView.h"

using namespace kiv;
using namespace kiv::test;

namespace {

// "Open with" over a desktop database of the test's own: two applications for text, the user's
// default the second one installed.
class OpenWithCommandsTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        m_home.write("notes one.txt", "words");
        m_home.folder("docs");
        for (const char* which : { "a", "b" })
            m_home.write(std::string(".local/share/applications/kivtest-") + which + ".desktop",
                std::string("[Desktop Entry]\nType=Application\nName=Kiv Writer ") + which
                    + "\nExec=/bin/cp %f " + m_home.path() + "/opened-by-" + which
                    + "\nMimeType=text/plain;\n");
        // As update-desktop-database leaves it: the index GIO reads types from.
        m_home.write(".local/share/applications/mimeinfo.cache",
            "[MIME Cache]\ntext/plain=kivtest-a.desktop;kivtest-b.desktop;\n");
        m_home.write(".config/mimeapps.list", "[Default Applications]\ntext/plain=kivtest-b.desktop\n");
        startProgram();
    }

    ShownDialogs openWith(const std::string& name, std::vector<Answer> answers = {})
    {
        putCursorOn(left(), name);
        // The desktop's database is read as a job; the menu comes once it is read.
        return answering(answers, [&] {
            QTest::keyClick(left().tableView(), Qt::Key_Return, Qt::ShiftModifier);
            waitForJobs();
        });
    }
};

} // namespace

TEST_F(OpenWithCommandsTest, ListsTheDesktopsApplicationsDefaultFirstAndOpensTheFileWithTheOneChosen)
{
    openWith("notes one.txt");
    ASSERT_NE(RetroMenuSession::current(), nullptr);
    std::vector<QString> titles;
    for (const RetroMenuView::Row& row : RetroMenuSession::current()->panel()->menuView()->rows())
        titles.push_back(row.item.title);
    ASSERT_GE(titles.size(), 2u);
    EXPECT_EQ(titles[0], "Kiv Writer b");
    const auto other = std::find(titles.begin(), titles.end(), "Kiv Writer a");
    ASSERT_NE(other, titles.end());
    chooseFromOpenMenu(int(other - titles.begin()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return readFile(m_home / "opened-by-a") == "words"; }, 5000));
    EXPECT_TRUE(readFile(m_home / "opened-by-b").empty());

    EXPECT_EQ(openWith("docs", { ok }),
        ShownDialogs { notice("Open With", "Open with works on a file of this machine; copy it here first (F5).") });
    EXPECT_EQ(RetroMenuSession::current(), nullptr);
}
