#include "GateJob.h"
#include "ProgramTest.h"
#include "commands/ToolCommands.h"
#include "jobscreen/JobProgressDialog.h"
#include "jobscreen/JobRunner.h"
#include "toolkit/RetroChoiceView.h"
#include "toolkit/RetroLabel.h"
#include "window/PulldownMenuBarView.h"

#include <QApplication>
#include <QPointer>

using namespace kiv;
using namespace kiv::test;

namespace {

// A job that asks one question of `kind` and ends as soon as it has any answer.
class AskingJob : public Job
{
public:
    explicit AskingJob(JobQuestion::Kind kind)
        : m_kind(kind)
    {
    }
    std::string title() const override { return "Ask"; }
    std::string description() const override { return "Ask"; }
    JobFootprint footprint() const override { return {}; }
    JobOutcome run(JobControl& control) override
    {
        control.ask(
            { m_kind, { "/a/b", 1, std::nullopt, false }, { "/c/b", 2, std::nullopt, false }, "failed" });
        return { JobOutcome::End::completed, "asked" };
    }

private:
    JobQuestion::Kind m_kind;
};

// Presses Esc in the progress dialog of choices `modal`.
void escapeFrom(QWidget* modal)
{
    QTest::keyClick(modal->findChild<RetroChoiceView*>(), Qt::Key_Escape);
}

// Waits until the dialog `modal` has closed; false when it stays open.
bool closes(QWidget* modal)
{
    QPointer<QWidget> open = modal;
    return QTest::qWaitFor([&] { return !open || !open->isVisible(); });
}

// The left panel on "src", the right one on "dst" holding a.txt and b.txt.
class JobScreenTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        m_home.write("src/a.txt", "new a");
        m_home.write("dst/a.txt", "old a");
        m_home.write("dst/b.txt", "b");
        startProgram();
        left().goTo(m_src);
        right().goTo(m_dst);
        waitForJobs();
    }

    // Starts a job that holds on until released, writing into "dst".
    std::shared_ptr<GateJob> startGate()
    {
        auto gate = std::make_shared<GateJob>(m_src, m_dst);
        m_controller->jobs().start(gate);
        return gate;
    }

    // The lines of the open dialog of choices (the jobs list, a progress dialog).
    // The active panel's status line.
    std::string status()
    {
        return active().view()->findChild<RetroLabel*>("statusLabel")->text().toStdString();
    }

    static QStringList openLines()
    {
        QWidget* modal = QApplication::activeModalWidget();
        auto* face = modal ? modal->findChild<RetroChoiceView*>() : nullptr;
        return face ? face->lines() : QStringList();
    }

    const std::string m_src = m_home.folder("src");
    const std::string m_dst = m_home.folder("dst");
};

} // namespace

TEST_F(JobScreenTest, KeepBothCopiesUnderAFreeNameAndTheTargetPanelIsRelisted)
{
    putCursorOn(left(), "a.txt");
    const ShownDialogs shown = press(Qt::Key_F5, { ok, pressing(Qt::Key_K) });
    ASSERT_EQ(shown.size(), 2u);
    const std::string& message = shown[1].message;
    EXPECT_TRUE(message.starts_with("The target already exists:\n" + m_dst + "/a.txt\n\nNew:  5 bytes  "))
        << message;
    EXPECT_NE(message.find("\nOld:  5 bytes  "), std::string::npos) << message;
    EXPECT_EQ(std::pair(readFile(m_dst + "/a.txt"), readFile(m_dst + "/a (2).txt")),
        (std::pair<std::string, std::string>("old a", "new a")));
    EXPECT_TRUE(lists(right(), "a (2).txt")) << "the target panel was not relisted";
}

TEST_F(JobScreenTest, ASlowJobShowsProgressGoesToTheBackgroundAndItsEndRelistsKeepingTheCursor)
{
    putCursorOn(right(), "b.txt");
    std::shared_ptr<GateJob> gate;
    // The progress dialog comes after about 0.3 s; B sends the job to the background.
    const ShownDialogs shown = answering({ pressing(Qt::Key_B) }, [&] { gate = startGate(); });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Gate");
    EXPECT_NE(shown[0].message.find("1 of 2 items"), std::string::npos) << shown[0].message;
    QTest::qWait(300);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the dialog came back after Background";
    EXPECT_EQ(root().menuBar()->indicator(), "Gate 50%");

    // Meanwhile the panels take keys.
    QTest::keyClick(active().tableView(), Qt::Key_Down);
    EXPECT_EQ(left().selectedEntry()->name, "a.txt");

    // Its end is news the user did not watch, even one of the user's own choices.
    gate->outcome = { JobOutcome::End::incomplete, "Gated 1 of 2 items; 1 skipped", true };
    const ShownDialogs ended = answering({ ok }, [&] {
        gate->released = true;
        waitForJobs();
    });
    EXPECT_EQ(ended, ShownDialogs { notice("Job Ended", "Gated 1 of 2 items; 1 skipped") });
    EXPECT_TRUE(lists(right(), "made")) << "the panel showing the job's folder was not relisted";
    EXPECT_EQ(right().selectedEntry()->name, "b.txt");
    EXPECT_EQ(root().menuBar()->indicator(), "");

    // A failure is news however the job ran.
    auto failing = std::make_shared<GateJob>(m_src, m_dst);
    failing->outcome
        = { JobOutcome::End::incomplete, "Gated 1 of 2 items; 1 skipped. Permission denied", false };
    failing->released = true;
    EXPECT_EQ(answering({ ok },
                  [&] {
                      m_controller->jobs().start(failing);
                      waitForJobs();
                  }),
        ShownDialogs { notice("Job Ended", "Gated 1 of 2 items; 1 skipped. Permission denied") });
}

TEST_F(JobScreenTest, TheJobsListStartsAWaitingJobNowOrCancelsItAndEscCancelsARunningOne)
{
    auto running = startGate();
    // A second job into another folder waits for the first, until started now.
    auto second = std::make_shared<GateJob>(m_src, m_home.folder("elsewhere"));
    auto third = std::make_shared<GateJob>(m_src, m_home.folder("third"));
    m_controller->jobs().start(second);
    m_controller->jobs().start(third);
    QStringList listed;
    answerNextModal([&](QWidget* list) {
        listed = openLines();
        auto* face = list->findChild<RetroChoiceView*>();
        QTest::keyClick(face, Qt::Key_Down);
        QTest::keyClick(face, Qt::Key_S); // the second starts now
        QTest::keyClick(face, Qt::Key_Down);
        QTest::keyClick(face, Qt::Key_Delete); // the third never starts
        QTest::keyClick(face, Qt::Key_Escape);
    });
    EXPECT_EQ(answering({},
                  [&] {
                      QTest::keyClick(
                          active().tableView(), Qt::Key_J, Qt::ControlModifier | Qt::ShiftModifier);
                  }),
        ShownDialogs {});
    EXPECT_TRUE(QTest::qWaitFor([&] { return status() == " Gate cancelled before it started"; })) << status();
    ASSERT_EQ(listed.size(), 3);
    EXPECT_TRUE(listed[0].startsWith("running") && listed[1].startsWith("waiting"))
        << listed.join('|').toStdString();
    EXPECT_EQ(second->started.get_future().wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(
        third->started.get_future().wait_for(std::chrono::milliseconds(0)), std::future_status::timeout);
    second->released = true;

    // Esc in the progress dialog asks first; yes cancels, and the end says so.
    const ShownDialogs shown
        = answering({ pressing(Qt::Key_Escape), ok }, [&] { m_controller->jobs().bringToFront(1); });
    waitForJobs();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1], question("Gate", "Cancel the gate?", "[ Stop ]", ButtonTone::destructive));
    EXPECT_EQ(status(), " Gate cancelled");
    EXPECT_FALSE(std::filesystem::exists(m_dst + "/made"));
}

TEST_F(JobScreenTest, QuittingWithAJobRunningAsksAndCancelsIt)
{
    auto gate = startGate();
    gate->started.get_future().wait();
    bool quits = true;
    EXPECT_EQ(answering({ no }, [&] { quits = m_controller->toolCommands().quit(); }),
        ShownDialogs { question(
            "Quit", "A job is still running. Cancel it and quit?", "[ Quit ]", ButtonTone::destructive) });
    EXPECT_FALSE(quits);
    answering({ ok }, [&] { quits = m_controller->toolCommands().quit(); });
    EXPECT_TRUE(quits);
    waitForJobs();
    EXPECT_FALSE(std::filesystem::exists(m_dst + "/made"));
}

TEST_F(JobScreenTest, TheQuestionWhetherToCancelHoldsTheJobStillUntilAnswered)
{
    auto gate = startGate();
    answerNextModal(escapeFrom);
    bool heldStill = false;
    answerNextModal([&](QWidget* question) {
        gate->released = true;
        QTest::qWait(200);
        heldStill = !std::filesystem::exists(m_dst + "/made");
        QTest::keyClick(question->focusWidget() ? question->focusWidget() : question, Qt::Key_Escape);
    });
    waitForJobs();
    EXPECT_TRUE(heldStill) << "the job went on writing while asked whether to cancel it";
    EXPECT_TRUE(std::filesystem::exists(m_dst + "/made")) << "No did not let the job go on";
}

TEST_F(JobScreenTest, AJobThatEndsWhileAnyOfItsQuestionsIsOpenClosesItAndEndsCleanly)
{
    // Deep in one long call, the job cannot stop for "Cancel the gate?" and ends meanwhile.
    auto gate = std::make_shared<GateJob>(m_src, m_dst, GateJob::Waits::blind);
    m_controller->jobs().start(gate);
    answerNextModal(escapeFrom);
    answerNextModal([&](QWidget* question) {
        gate->released = true;
        EXPECT_TRUE(closes(question)) << "the question outlived its job";
    });
    waitForJobs();
    EXPECT_TRUE(std::filesystem::exists(m_dst + "/made"));

    // A taken name and a failed item: the job is cancelled from elsewhere while it asks.
    for (const auto kind : { JobQuestion::Kind::conflict, JobQuestion::Kind::itemError }) {
        const JobQueue::Id id = m_controller->jobs().start(std::make_shared<AskingJob>(kind));
        answerNextModal([&](QWidget* question) {
            m_controller->jobs().queue().cancel(id);
            EXPECT_TRUE(closes(question)) << "the question outlived its job";
        });
        waitForJobs();
    }
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(JobScreenTest, AFileOntoAFolderSaysSoAndReplaceSendsTheFolderToTheTrashWhereUndoFindsIt)
{
    m_home.write("src/book", "one file");
    m_home.write("dst/book/chapter1", "1");
    left().reload();
    right().reload();
    waitForJobs();
    putCursorOn(left(), "book");
    const ShownDialogs shown = press(Qt::Key_F5, { ok, pressing(Qt::Key_R) });
    ASSERT_EQ(shown.size(), 2u);
    const std::string& message = shown[1].message;
    EXPECT_TRUE(message.starts_with("A file onto a folder of the same name:\n" + m_dst + "/book\n"))
        << message;
    EXPECT_TRUE(message.ends_with("\nReplace puts the old folder in the trash first.")) << message;
    EXPECT_EQ(readFile(m_dst + "/book"), "one file");
    EXPECT_EQ(readFile(m_home / ".local/share/Trash/files/book/chapter1"), "1");

    QTest::keyClick(active().tableView(), Qt::Key_Z, Qt::ControlModifier);
    waitForJobs();
    EXPECT_EQ(readFile(m_dst + "/book/chapter1"), "1") << "undo did not bring the folder back";
}
