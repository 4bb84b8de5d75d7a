#include "viewer/PanelEditorView.h"
#include "DialogDriver.h"
#include "files/EditableText.h"
#include "SavingAtOnce.h"
#include "TempDir.h"
#include "toolkit/RetroLabel.h"
#include "viewer/EditorTextView.h"

#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

using namespace kiv;
using namespace kiv::test;

namespace {

// A shown editor on `path` (a copy from `archive` when that is set) that counts its close requests.
struct EditorFixture
{
    explicit EditorFixture(const std::string& path, const std::string& archive = {})
        : editor(path, EditableText::load(path), archive,
              archive.empty() ? std::optional(savingAtOnce(path)) : std::nullopt)
    {
        editor.resize(400, 300);
        editor.onClose = [this] { ++closeRequests; };
        editor.show();
        editor.focusEditor();
    }

    EditorTextView& text() { return *editor.findChild<EditorTextView*>(); }
    std::string title() { return editor.findChildren<RetroLabel*>().front()->text().toStdString(); }
    ShownDialogs press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}, std::vector<Answer> answers = {})
    {
        return answering(answers, [&] { QTest::keyClick(&text(), key, modifiers); });
    }
    void type(const char* text) { QTest::keyClicks(&this->text(), text); }

    PanelEditorView editor;
    int closeRequests = 0;
};

} // namespace

TEST(PanelEditorViewTest, EditingMarksTheTitleAndSavingKeepsModeLinkAndEveryCharacter)
{
    TempDir scratch;
    // No-break spaces and CRLF line breaks must come back exactly as they were.
    const std::string original = "first\xC2\xA0line\r\nsecond line\r\n";
    const std::string target = scratch.write("my notes.txt", original);
    ::chmod(target.c_str(), 0640);
    const std::string link = scratch / "link.txt";
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);

    EditorFixture fixture(link);
    fixture.press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(readFile(target), original);
    fixture.press(Qt::Key_End, Qt::ControlModifier);
    fixture.type("third");
    EXPECT_EQ(fixture.title(), " Editing: link.txt (edited) ");
    fixture.press(Qt::Key_Return, Qt::ShiftModifier);
    fixture.type("4");
    fixture.press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(fixture.title(), " Editing: link.txt ");
    EXPECT_EQ(readFile(target), original + "third\r\n4");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms(0640));
}

TEST(PanelEditorViewTest, ACopyFromAnArchiveIsOnlyReadAndAFileThatCouldNotBeWrittenIsLeftAsItWas)
{
    TempDir scratch;
    // The copy taken out of an archive says so, takes no typing, and Ctrl+S says why nothing is saved.
    const std::string copy = scratch.write("tmp/notes.txt", "from the archive\n");
    EditorFixture member(copy, scratch / "docs.zip");
    EXPECT_EQ(member.title(), " Read-only: notes.txt (inside docs.zip) ");
    member.type("oops");
    EXPECT_EQ(member.text().toPlainText(), "from the archive\n");
    EXPECT_EQ(member.press(Qt::Key_S, Qt::ControlModifier, { ok }),
        ShownDialogs { notice("Can't Save",
            "notes.txt is shown from inside the archive docs.zip, which Tavrin does not change: the editor only "
            "reads it. To edit the file, copy it out of the archive (F5) and edit the copy.") });
    EXPECT_EQ(readFile(copy), "from the archive\n");
    member.press(Qt::Key_Escape);
    EXPECT_EQ(member.closeRequests, 1);

    if (!permissionBitsBind(scratch))
        GTEST_SKIP() << "permission bits do not bind for this process";
    const std::string path = scratch.write("locked/b.txt", "before");
    ::chmod((scratch / "locked").c_str(), 0500);
    EditorFixture locked(path);
    locked.type("after ");
    locked.press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(locked.title(), " Editing: b.txt (edited) ");
    EXPECT_EQ(readFile(path), "before");
}

TEST(PanelEditorViewTest, LongLinesWrapAndEscapeAsksBeforeDroppingChanges)
{
    TempDir scratch;
    const std::string line(400, 'w');
    EditorFixture fixture(scratch.write("a.txt", line));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fixture.editor));
    EXPECT_GT(fixture.text().document()->firstBlock().layout()->lineCount(), 1);
    EXPECT_EQ(fixture.text().horizontalScrollBar()->maximum(), 0);

    // A clean editor closes at once; a changed one asks first, and No keeps the text.
    fixture.press(Qt::Key_Escape);
    EXPECT_EQ(fixture.closeRequests, 1);
    fixture.type("!");
    EXPECT_EQ(fixture.press(Qt::Key_Escape, {}, { no }), ShownDialogs { unsavedChanges("a.txt") });
    EXPECT_EQ(fixture.closeRequests, 1);
    EXPECT_EQ(fixture.text().toPlainText(), QString::fromStdString("!" + line));
    fixture.press(Qt::Key_Escape, {}, { ok });
    EXPECT_EQ(fixture.closeRequests, 2);
    EXPECT_EQ(readFile(scratch / "a.txt"), line);
}
