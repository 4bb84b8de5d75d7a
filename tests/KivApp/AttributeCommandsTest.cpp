#include "ProgramTest.h"
#include "attributes/AttributeForm.h"
#include "toolkit/RetroChoiceView.h"
#include "toolkit/RetroDialogView.h"

#include <QLineEdit>
#include <QTimer>

#include <QApplication>
#include <sys/stat.h>
#include <unistd.h>

using namespace kiv;
using namespace kiv::test;

namespace {

// The row of a bit in the attributes dialog, counted from the first bit line.
enum Row
{
    ownerRead,
    ownerWrite,
    ownerExecute,
    groupRead,
    groupWrite,
    groupExecute,
    othersRead,
    othersWrite,
};

// The left panel on "src" (a file, a folder with a file in it), the right one on "dst".
class AttributeCommandsTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        m_home.write("src/a.txt", "alpha");
        m_home.write("src/box/inside.txt", "inside");
        ::chmod((m_home / "src/a.txt").c_str(), 0644);
        ::chmod((m_home / "src/box").c_str(), 0755);
        ::chmod((m_home / "src/box/inside.txt").c_str(), 0644);
        startProgram();
        left().goTo(m_src);
        right().goTo(m_dst);
        waitForJobs();
    }

    // Presses Ctrl+`key` in the active panel.
    void control(Qt::Key key, Qt::KeyboardModifiers more = {})
    {
        QTest::keyClick(active().tableView(), key, Qt::ControlModifier | more);
        waitForJobs();
    }

    // Answers a dialog from the event loop, not from the answer: a dialog the answer opens is then
    // answered in its turn.
    static std::function<void(QWidget*)> later(std::function<void(QWidget*)> act)
    {
        return [act](QWidget* modal) { QTimer::singleShot(0, modal, [act, modal] { act(modal); }); };
    }
    // Queues the keys `keys` for the attributes dialog about to open (or to come back from a
    // question it asked), pressed from the event loop so that a question they open is answered in
    // its turn; `lines` gets what it showed before the last key.
    void inAttributes(std::vector<int> keys, QStringList* lines = nullptr)
    {
        answerNextModal(later([keys, lines](QWidget* modal) {
            auto* face = modal->findChild<RetroChoiceView*>();
            ASSERT_TRUE(face);
            for (int key : keys) {
                if (lines)
                    *lines = face->lines();
                QTest::keyClick(face, Qt::Key(key));
            }
        }));
    }
    // Queues `text` typed into the prompt about to open, then Return.
    void typeInto(const QString& text)
    {
        answerNextModal(later([text](QWidget* modal) {
            const auto* view = modal->findChild<RetroDialogView*>();
            ASSERT_TRUE(view && view->textField()) << "no prompt, but " << modal->windowTitle().toStdString();
            QLineEdit* field = view->textField();
            field->setText(text);
            QTest::keyClick(field, Qt::Key_Return);
        }));
    }
    // Queues Return for the message about to open, noting its text in `messages`.
    void noteMessage(QStringList& messages)
    {
        answerNextModal(later([&messages](QWidget* modal) {
            const auto* view = modal->findChild<RetroDialogView*>();
            ASSERT_TRUE(view) << "no message, but " << modal->windowTitle().toStdString();
            messages << view->messageText();
            QTest::keyClick(modal->focusWidget(), Qt::Key_Return);
        }));
    }
    // Keys that move the dialog's cursor from the first bit to `row` and flip it.
    static std::vector<int> flipping(Row row)
    {
        std::vector<int> keys(std::size_t(row), Qt::Key_Down);
        keys.push_back(Qt::Key_Space);
        return keys;
    }

    const std::string m_src = m_home.folder("src");
    const std::string m_dst = m_home.folder("dst");
};

} // namespace

// A bit flipped reaches the item as a job, Ctrl+Z gives its mode back; inside a folder, "files
// only" leaves the folders as they were and touches no bit the user left alone.
TEST_F(AttributeCommandsTest, changesBitsAsOneUndoableJob)
{
    putCursorOn(left(), "a.txt");
    std::vector<int> keys = flipping(othersWrite);
    keys.push_back(Qt::Key_Return);
    QStringList shown;
    inAttributes(keys, &shown);
    control(Qt::Key_A);
    EXPECT_EQ(modeOf(m_src + "/a.txt"), 0646);
    EXPECT_EQ(shown.at(0).trimmed(), "a.txt");
    EXPECT_TRUE(shown.contains("   [x] Others: write")) << shown.join('\n').toStdString();
    EXPECT_TRUE(shown.contains(" I  Inside folders: (no folder marked)"));
    control(Qt::Key_Z);
    EXPECT_EQ(modeOf(m_src + "/a.txt"), 0644);

    putCursorOn(left(), "box");
    keys = flipping(groupWrite);
    keys.insert(keys.end(), { Qt::Key_I, Qt::Key_I, Qt::Key_Return }); // everything, then files only
    inAttributes(keys, &shown);
    control(Qt::Key_A);
    EXPECT_TRUE(shown.contains(" I  Inside folders: yes, files only"));
    EXPECT_EQ(modeOf(m_src + "/box"), 0755);
    EXPECT_EQ(modeOf(m_src + "/box/inside.txt"), 0664);
    control(Qt::Key_Z);
    EXPECT_EQ(modeOf(m_src + "/box/inside.txt"), 0644);

    // Esc, or Return with nothing changed, starts nothing: nothing to undo afterwards.
    inAttributes({ Qt::Key_Space, Qt::Key_Escape });
    control(Qt::Key_A);
    inAttributes({ Qt::Key_Return });
    control(Qt::Key_A);
    control(Qt::Key_Z); // undoes nothing: the history is empty again
    EXPECT_EQ(modeOf(m_src + "/box"), 0755);
    EXPECT_EQ(modeOf(m_src + "/box/inside.txt"), 0644);
}

// A user or group nobody has and a date that is none are refused by name in the dialog, which
// stays open with nothing given; a good time reaches the file.
TEST_F(AttributeCommandsTest, refusesWhatCannotBeGiven)
{
    putCursorOn(left(), "a.txt");
    QStringList messages;
    inAttributes({ Qt::Key_O });
    typeInto("nobody-at-all");
    noteMessage(messages);
    inAttributes({ Qt::Key_G });
    typeInto("no-group-either");
    noteMessage(messages);
    inAttributes({ Qt::Key_T });
    typeInto("2026-02-30 10:00");
    noteMessage(messages);
    inAttributes({ Qt::Key_T });
    typeInto("2001-02-03 04:05:06");
    QStringList shown;
    inAttributes({ Qt::Key_Return }, &shown);
    control(Qt::Key_A);
    EXPECT_EQ(messages,
        QStringList({ "There is no user named \"nobody-at-all\".", "There is no group named \"no-group-either\".",
            "\"2026-02-30 10:00\" is no date and time: write it as 2026-12-07 14:05:00." }));
    EXPECT_TRUE(shown.contains(" T  Modified: 2001-02-03 04:05:06")) << shown.join('\n').toStdString();
    struct stat info;
    ASSERT_EQ(::stat((m_src + "/a.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, ::getuid());
    EXPECT_EQ(*AttributeForm::parseTime("2001-02-03 04:05:06"), FileTime(std::chrono::seconds(info.st_mtime)));
    EXPECT_EQ(readFile(m_src + "/a.txt"), "alpha");
}

// Ctrl+L links the cursor's item into the other panel, relative by default and absolute with the
// alternative; a name taken is never replaced; Ctrl+Z takes the links away and nothing else.
TEST_F(AttributeCommandsTest, makesLinksWithoutReplacingAnything)
{
    m_home.write("dst/taken.txt", "keep me");
    right().reload();
    waitForJobs();
    putCursorOn(left(), "a.txt");
    const ShownDialogs asked = answering({ ok }, [&] { control(Qt::Key_L); });
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].field, m_dst + "/a.txt");
    EXPECT_EQ(asked[0].alternativeLabel, "[ Absolute ]");
    EXPECT_EQ(std::filesystem::read_symlink(m_dst + "/a.txt"), "../src/a.txt");
    EXPECT_TRUE(lists(right(), "a.txt"));

    answerNextModal([this](QWidget* modal) {
        QLineEdit* field = modal->findChild<RetroDialogView*>()->textField();
        field->setText(QString::fromStdString(m_dst + "/a.txt-abs"));
        QTest::keyClick(field, Qt::Key_A, Qt::AltModifier);
    });
    control(Qt::Key_L);
    EXPECT_EQ(std::filesystem::read_symlink(m_dst + "/a.txt-abs"), m_src + "/a.txt");

    const ShownDialogs taken = answering({ typing("taken.txt"), ok }, [&] { control(Qt::Key_L); });
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[1].title, "Job Ended");
    EXPECT_EQ(readFile(m_dst + "/taken.txt"), "keep me");

    control(Qt::Key_Z);
    control(Qt::Key_Z);
    EXPECT_FALSE(std::filesystem::is_symlink(m_dst + "/a.txt-abs"));
    EXPECT_FALSE(std::filesystem::is_symlink(m_dst + "/a.txt"));
    EXPECT_EQ(readFile(m_src + "/a.txt"), "alpha");
    EXPECT_EQ(readFile(m_dst + "/taken.txt"), "keep me");
}

// Inside an archive there are no attributes to change and nothing to link to: both say so.
TEST_F(AttributeCommandsTest, refusesItemsNotOnThisDisk)
{
    m_home.run("cd src && zip -q pack.zip a.txt");
    left().reload();
    waitForJobs();
    putCursorOn(left(), "pack.zip");
    press(Qt::Key_Return);
    putCursorOn(left(), "a.txt");
    const ShownDialogs shown = answering({ ok, ok }, [&] {
        control(Qt::Key_A);
        control(Qt::Key_L);
    });
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].title, "Attributes");
    EXPECT_NE(shown[0].message.find("only for items on this computer's disk"), std::string::npos) << shown[0].message;
    EXPECT_EQ(shown[1], notice("Make Link", "Links are made only from and into folders on this computer's disk."));
}
