#include "ProgramTest.h"
#include "commands/RenameCommands.h"
#include "renamescreen/MultiRenameDialog.h"
#include "toolkit/RetroChoiceView.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

using namespace kiv;
using namespace kiv::test;

namespace {

// The left panel on "src", holding a.txt, b.txt and c.txt.
class RenameCommandsTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        for (const char* name : { "a", "b", "c" })
            m_home.write("src/" + std::string(name) + ".txt", name);
        startProgram();
        left().goTo(m_src);
        right().goTo(m_src);
        waitForJobs();
    }

    std::string names() const
    {
        std::vector<std::string> found;
        for (const auto& item : std::filesystem::directory_iterator(m_src))
            found.push_back(item.path().filename().string() + "=" + readFile(item.path().string()));
        std::sort(found.begin(), found.end());
        std::string joined;
        for (const std::string& name : found)
            joined += name + " ";
        return joined;
    }

    const std::string m_src = m_home.folder("src");
};

} // namespace

TEST_F(RenameCommandsTest, AClashIsShownAndRefusedThenOneJobRenamesAndOneUndoGivesEveryNameBack)
{
    left().setMarks({ "a.txt", "b.txt" });
    bool focusedWithMaskSelected = false;
    bool stayedOpen = false;
    QStringList clashLines;
    onDialog<MultiRenameDialog>([&](MultiRenameDialog& dialog) {
        QLineEdit* mask = dialog.maskField();
        focusedWithMaskSelected = QApplication::focusWidget() == mask && mask->selectedText() == "[N].[E]";
        // Both to c.txt, which the unmarked c.txt holds: the file it would replace is lost.
        QTest::keyClicks(mask, "c.[E]");
        QTest::keyClick(mask, Qt::Key_Return);
        stayedOpen = dialog.isVisible();
        clashLines = dialog.face()->lines();
        mask->setText("[N]_[C:2].[E]");
        QTest::keyClick(mask, Qt::Key_Return);
    });
    QTest::keyClick(active().tableView(), Qt::Key_M, Qt::ControlModifier);
    waitForJobs();
    EXPECT_TRUE(focusedWithMaskSelected);
    EXPECT_TRUE(stayedOpen) << "Return ran a plan with clashes";
    EXPECT_TRUE(clashLines.filter(" ! a.txt → c.txt").size() == 1) << clashLines.join('\n').toStdString();
    EXPECT_TRUE(clashLines.filter("nothing is renamed").size() == 1) << clashLines.join('\n').toStdString();
    EXPECT_EQ(names(), "a_01.txt=a b_02.txt=b c.txt=c ");
    EXPECT_TRUE(lists(left(), "a_01.txt")) << "the panel was not relisted";

    QTest::keyClick(left().tableView(), Qt::Key_Z, Qt::ControlModifier);
    waitForJobs();
    EXPECT_EQ(names(), "a.txt=a b.txt=b c.txt=c ");
}

TEST_F(RenameCommandsTest, AltRMakesTheSearchAnExpressionAltCTheCaseAndABadExpressionBlocksReturn)
{
    putCursorOn(left(), "a.txt");
    QString badStatus;
    bool refusedBad = false;
    std::string planned;
    onDialog<MultiRenameDialog>([&](MultiRenameDialog& dialog) {
        dialog.searchField()->setText("(");
        QTest::keyClick(dialog.searchField(), Qt::Key_R, Qt::AltModifier);
        badStatus = dialog.status();
        QTest::keyClick(dialog.searchField(), Qt::Key_Return);
        refusedBad = dialog.isVisible();
        dialog.searchField()->setText("^(\\w)");
        dialog.replaceField()->setText("$1-$1");
        for (int press = 0; press < 2; ++press) // as is, lower, UPPER
            QTest::keyClick(dialog.replaceField(), Qt::Key_C, Qt::AltModifier);
        planned = dialog.plan() ? dialog.plan()->lines().at(0).newName : "(no plan)";
        QTest::keyClick(dialog.replaceField(), Qt::Key_Return);
    });
    QTest::keyClick(active().tableView(), Qt::Key_M, Qt::ControlModifier);
    waitForJobs();
    EXPECT_TRUE(refusedBad);
    EXPECT_TRUE(badStatus.contains("(")) << badStatus.toStdString();
    EXPECT_EQ(planned, "A-A.TXT");
    EXPECT_EQ(names(), "A-A.TXT=a b.txt=b c.txt=c ");
}
