#include "PanelEditorView.h"
#include "DialogDriver.h"
#include "EditorTextView.h"
#include "RetroDialogView.h"
#include "RetroLabel.h"
#include "TempDir.h"
#include "Theme.h"
#include "WidgetProbe.h"

#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kiv;
using kiv::test::answerNextModal;
using kiv::test::answerNextModalWithKeys;
using kiv::test::readFile;
using kiv::test::TempDir;

namespace {

// An editor on `path`, shown and focused, with a record of its close requests.
struct EditorFixture
{
    explicit EditorFixture(const std::string& path)
        : editor(path)
    {
        editor.resize(400, 300);
        editor.onClose = [this] { ++closeRequests; };
        editor.show();
        editor.focusEditor();
    }

    EditorTextView& text() { return *editor.findChild<EditorTextView*>(); }

    QString title()
    {
        for (RetroLabel* label : editor.findChildren<RetroLabel*>())
            if (label->text().startsWith(" Editing: "))
                return label->text();
        return {};
    }

    void type(const QString& keys) { QTest::keyClicks(&text(), keys); }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&text(), key, modifiers);
    }

    PanelEditorView editor;
    int closeRequests = 0;
};

// Answers the next dialog with `key` and returns its title and message.
std::shared_ptr<QString> answerAndRecord(Qt::Key key)
{
    auto seen = std::make_shared<QString>();
    answerNextModal([seen, key](QWidget* modal) {
        if (auto* view = modal->findChild<RetroDialogView*>())
            *seen = view->titleText() + ": " + view->messageText();
        QTest::keyClick(kiv::test::keyTarget(modal), key);
    });
    return seen;
}

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
    EXPECT_EQ(fixture.title(), QString(" Editing: link.txt "));
    fixture.press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(readFile(target), original);

    fixture.press(Qt::Key_End, Qt::ControlModifier);
    fixture.type("x");
    fixture.press(Qt::Key_Backspace);
    EXPECT_EQ(fixture.title(), QString(" Editing: link.txt (edited) "));
    fixture.type("third");
    fixture.press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(fixture.title(), QString(" Editing: link.txt "));
    EXPECT_EQ(readFile(target), original + "third");

    struct stat info
    {
    };
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(PanelEditorViewTest, EscapeClosesACleanEditorAtOnceAndAsksBeforeDroppingChanges)
{
    TempDir scratch;
    const std::string path = scratch.write("a.txt", "hello");
    EditorFixture fixture(path);
    fixture.press(Qt::Key_Escape);
    EXPECT_EQ(fixture.closeRequests, 1);

    fixture.type("!");
    auto question = answerAndRecord(Qt::Key_Escape);
    fixture.press(Qt::Key_Escape);
    EXPECT_EQ(*question, QString("Unsaved Changes: a.txt has unsaved changes. Close without saving?"));
    EXPECT_EQ(fixture.closeRequests, 1);
    EXPECT_EQ(fixture.text().toPlainText(), QString("!hello"));

    answerNextModalWithKeys(Qt::Key_Return);
    fixture.press(Qt::Key_Escape);
    EXPECT_EQ(fixture.closeRequests, 2);
    EXPECT_EQ(readFile(path), "hello");
}

TEST(PanelEditorViewTest, AFileThatCouldNotBeShownIsNeverOverwritten)
{
    TempDir scratch;
    const std::string binary = "\x89PNG\r\n\x1a\n\xff\xfe";
    const std::string path = scratch.write("image.png", binary);
    EditorFixture fixture(path);
    EXPECT_TRUE(fixture.text().toPlainText().isEmpty());
    EXPECT_EQ(fixture.title(), QString(" Editing: image.png "));

    fixture.type("oops");
    auto refusal = answerAndRecord(Qt::Key_Return);
    fixture.press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(refusal->startsWith("Can't Save: image.png could not be opened as UTF-8 text"));
    EXPECT_EQ(readFile(path), binary);
    EXPECT_EQ(fixture.title(), QString(" Editing: image.png (edited) "));

    if (!kiv::test::permissionBitsBind(scratch))
        GTEST_SKIP() << "permission bits do not bind for this process";
    const std::string secret = scratch.write("secret.txt", "keep me");
    ::chmod(secret.c_str(), 0200);
    EditorFixture unreadable(secret);
    answerNextModalWithKeys(Qt::Key_Return);
    unreadable.editor.save();
    ::chmod(secret.c_str(), 0600);
    EXPECT_EQ(readFile(secret), "keep me");
}

TEST(PanelEditorViewTest, SavingCreatesAMissingFileAndReportsAFailedWrite)
{
    TempDir scratch;
    const std::string fresh = scratch / "new.txt";
    EditorFixture created(fresh);
    created.type("new");
    created.editor.save();
    EXPECT_EQ(readFile(fresh), "new");

    if (!kiv::test::permissionBitsBind(scratch))
        GTEST_SKIP() << "permission bits do not bind for this process";
    const std::string locked = scratch.folder("locked");
    const std::string path = scratch.write("locked/b.txt", "before");
    ::chmod(locked.c_str(), 0500);
    EditorFixture fixture(path);
    fixture.type("after ");
    auto error = answerAndRecord(Qt::Key_Return);
    fixture.press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(error->startsWith("Error: ")) << error->toStdString();
    EXPECT_EQ(fixture.title(), QString(" Editing: b.txt (edited) "));
    EXPECT_EQ(readFile(path), "before");
}

TEST(PanelEditorViewTest, LongLinesWrapAndTheEditorCoversAllButItsMarginInPanelColours)
{
    TempDir scratch;
    EditorFixture fixture(scratch.write("long.txt", std::string(400, 'w')));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fixture.editor));
    EXPECT_GT(fixture.text().document()->firstBlock().layout()->lineCount(), 1);
    EXPECT_EQ(fixture.text().horizontalScrollBar()->maximum(), 0);

    // Nothing of the panel below shows through, except along the one-pixel margin (its frame).
    const QImage image = kiv::test::renderOn(fixture.editor, Qt::green);
    EXPECT_TRUE(kiv::test::hasColorAt(image, 0, 150, Qt::green));
    EXPECT_TRUE(kiv::test::hasColorAt(image, 200, 299, Qt::green));
    EXPECT_TRUE(kiv::test::hasColorAt(image, 398, 290, Theme::panelBackground()));
    EXPECT_TRUE(kiv::test::hasColorAt(image, 200, 10, Theme::panelHeaderBG()));
    int caretPixels = 0;
    for (int y = 19; y < 40; ++y)
        for (int x = 1; x < 20; ++x)
            caretPixels += kiv::test::hasColorAt(image, x, y, Theme::panelMarked());
    EXPECT_GT(caretPixels, 8);
}
