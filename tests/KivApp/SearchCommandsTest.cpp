#include "ProgramTest.h"
#include "SshServer.h"
#include "findscreen/FindHitsDialog.h"
#include "toolkit/RetroDialogView.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

using namespace kiv;
using namespace kiv::test;

namespace {

// The left panel on "src", the right panel on "dst".
class SearchCommandsTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        for (auto [path, text] : { std::pair { "a.txt", "alpha" }, { "b.md", "beta" },
                 { "box/inside.txt", "inside" }, { "box/deeper/far.txt", "far away" } })
            m_home.write("src/" + std::string(path), text);
        m_home.folder("src/empty");
        startProgram();
        left().goTo(m_src);
        right().goTo(m_src);
        waitForJobs();
    }

    const FileEntry& row(PanelViewController& panel, const std::string& name)
    {
        return panel.state().entries().at(std::size_t(rowOf(panel, name)));
    }

    // Finds `patterns` below the active folder with Alt+F7 and, once the search has ended, presses
    // `onHits` on its hits (P puts them in the panel, Return goes to the one under the cursor). Keys
    // reach the dialogs from the event loop, not from the answer, so the prompt the query dialog
    // opens is answered in its turn.
    void find(const std::string& patterns, Qt::Key onHits, std::function<void(QWidget*)> afterwards = {})
    {
        const auto later = [](std::function<void(QWidget*)> act) {
            return [act](QWidget* modal) { QTimer::singleShot(0, modal, [act, modal] { act(modal); }); };
        };
        const auto key = [](Qt::Key pressed) {
            return [pressed](QWidget* modal) { QTest::keyClick(modal->focusWidget(), pressed); };
        };
        answerNextModal(later(key(Qt::Key_N)));
        answerNextModal(later([patterns](QWidget* prompt) {
            auto* field = prompt->findChild<QLineEdit*>();
            field->setText(QString::fromStdString(patterns));
            QTest::keyClick(field, Qt::Key_Return);
        }));
        answerNextModal(later(key(Qt::Key_Return)));
        answerNextModal(later([onHits](QWidget* modal) {
            auto* hits = qobject_cast<FindHitsDialog*>(modal);
            EXPECT_TRUE(hits && QTest::qWaitFor([hits] { return hits->hasEnded(); }));
            QTest::keyClick(modal->focusWidget(), onHits);
        }));
        if (afterwards)
            answerNextModal(later(afterwards));
        QTest::keyClick(active().tableView(), Qt::Key_F7, Qt::AltModifier);
    }

    const std::string m_src = m_home.folder("src");
    const std::string m_dst = m_home.folder("dst");
};

} // namespace

TEST_F(SearchCommandsTest, CtrlSpaceShowsTheTreeSizeOfTheFoldersInBothPanelsAndTheMarkedTotal)
{
    putCursorOn(left(), "box");
    QTest::keyClick(left().tableView(), Qt::Key_Space, Qt::ControlModifier);
    waitForJobs();
    EXPECT_TRUE(QTest::qWaitFor([&] { return row(left(), "box").sizeMeasured; }));
    EXPECT_EQ(row(left(), "box").size, 14);
    EXPECT_EQ(row(right(), "box").size, 14);
    EXPECT_FALSE(row(left(), "empty").sizeMeasured);

    press({ Qt::Key_Insert, Qt::Key_Insert }); // box and empty
    putCursorOn(left(), "a.txt");
    press(Qt::Key_Insert);
    EXPECT_EQ(left().state().totalMarkedSize(), 19);
}

TEST_F(SearchCommandsTest, HitsInThePanelAreCopiedMovedAndDeletedWhereTheyLieAndBackspaceLeadsBack)
{
    right().goTo(m_dst);
    waitForJobs();
    find("*.txt", Qt::Key_P);
    EXPECT_TRUE(QTest::qWaitFor([&] { return active().state().location().isFound(); }));
    EXPECT_TRUE(lists(left(), "a.txt"));
    EXPECT_TRUE(lists(left(), "box/inside.txt"));
    EXPECT_TRUE(lists(left(), "box/deeper/far.txt"));
    EXPECT_FALSE(lists(left(), "b.md"));

    putCursorOn(left(), "box/deeper/far.txt");
    press(Qt::Key_Space);
    putCursorOn(left(), "a.txt");
    press({ Qt::Key_Space, Qt::Key_F5 }, { ok });
    EXPECT_EQ(readFile(m_home / "dst/far.txt"), "far away");
    EXPECT_EQ(readFile(m_home / "dst/a.txt"), "alpha");

    putCursorOn(left(), "box/inside.txt");
    press(Qt::Key_F6, { ok }); // offered: the other panel's folder and the item's own name
    EXPECT_EQ(readFile(m_home / "dst/inside.txt"), "inside");

    putCursorOn(left(), "box/deeper/far.txt");
    press(Qt::Key_F8, { ok });
    EXPECT_FALSE(std::filesystem::exists(m_home / "src/box/deeper/far.txt"));
    EXPECT_TRUE(std::filesystem::exists(m_home / "src/box/deeper"));
    EXPECT_FALSE(lists(left(), "box/deeper/far.txt"));
    EXPECT_TRUE(lists(left(), "a.txt"));

    press(Qt::Key_Backspace);
    EXPECT_EQ(left().state().location(), PanelLocation::filesystem(m_src));
}

TEST_F(SearchCommandsTest, OnAServersPanelSizesFindAndCompareWorkThereAndWhatWorksHereOnlyRefuses)
{
    SshServer server;
    server.trustHostKey();
    const std::string url = server.place(m_src).url();
    goToServer(url);

    // Measured on the server: this machine's folder of the same path in the other panel is not it.
    putCursorOn(left(), "box");
    QTest::keyClick(left().tableView(), Qt::Key_Space, Qt::ControlModifier);
    waitForJobs();
    EXPECT_TRUE(QTest::qWaitFor([&] { return row(left(), "box").sizeMeasured; }));
    EXPECT_EQ(row(left(), "box").size, 14);
    EXPECT_FALSE(row(right(), "box").sizeMeasured);

    // A hit leads into the server's folder; the hits are never a list of this machine's files.
    find("far*", Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return left().state().location().path() == m_src + "/box/deeper"; }));
    EXPECT_EQ(left().state().location().displayPath(), url + "/box/deeper");
    EXPECT_EQ(left().selectedEntry()->name, "far.txt");
    QString said;
    find("*.txt", Qt::Key_P, [&](QWidget* message) {
        said = message->findChild<RetroDialogView*>()->titleText();
        QTest::keyClick(message->focusWidget(), Qt::Key_Return);
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return !said.isEmpty(); }));
    EXPECT_EQ(said, "Find File");
    EXPECT_TRUE(left().state().location().isRemote());

    // Compared by name, size and time with this machine's folder.
    left().goTo(PanelLocation(left().state().location().door(), m_src), {});
    m_home.write("dst/a.txt", "alpha");
    m_home.write("dst/b.md", "changed");
    right().goTo(m_dst);
    waitForJobs();
    const std::string same = m_src + "/a.txt";
    const auto time = std::filesystem::last_write_time(same);
    std::filesystem::last_write_time(m_dst + "/a.txt", time);
    const ShownDialogs compared = answering({ ok }, [&] {
        QTest::keyClick(left().tableView(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
        waitForJobs();
    });
    EXPECT_EQ(compared.at(0).message, "1 item(s) marked on the left, 1 on the right.");
    EXPECT_EQ(left().state().markedNames(), (std::unordered_set<std::string> { "b.md" }));
    putCursorOn(left(), "a.txt");
    putCursorOn(right(), "a.txt");

    // Commands for this machine's files refuse a server's panel rather than act on a local namesake.
    for (const auto& [key, title] :
        { std::pair { QKeyCombination(Qt::ControlModifier, Qt::Key_M), "Multi-Rename" },
            { QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_S), "Synchronize Folders" },
            { QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_C), "Compare Files" } }) {
        const ShownDialogs refused = answering({ ok }, [&] {
            QTest::keyClick(left().tableView(), key.key(), key.keyboardModifiers());
            waitForJobs();
        });
        EXPECT_EQ(refused.at(0).title, title);
        EXPECT_TRUE(refused.at(0).message.ends_with(
            "works on folders of this machine only, not on a server's folder."));
    }
}
