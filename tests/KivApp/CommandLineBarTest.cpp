#include "console/CommandLineBar.h"
#include "console/CommandLineField.h"
#include "toolkit/RetroLabel.h"

#include <QKeyEvent>
#include <QShortcut>
#include <QTest>
#include <gtest/gtest.h>

using namespace kiv;

namespace {

// A window that counts the keys its children let through to it.
class KeyCountingWindow : public QWidget
{
public:
    int keysSeen = 0;

protected:
    void keyPressEvent(QKeyEvent*) override { ++keysSeen; }
};

} // namespace

TEST(CommandLineBarTest, PromptKeepsPathsUpTo40CharactersAndCutsLongerOnesToTheirEnd)
{
    CommandLineBar bar;
    auto promptFor = [&](const QString& path) {
        bar.setPromptPath(path);
        return bar.promptLabel()->text();
    };
    const QString forty = "/" + QString(39, 'a');
    EXPECT_EQ(promptFor(forty), forty + " $ ");
    EXPECT_EQ(promptFor(forty + "Z"), "..." + QString(36, 'a') + "Z $ ");

    // Characters as the user sees them: an e with a combining accent and an emoji count as one each.
    const QString accented = QString::fromUtf8("e\xCC\x81");
    const QString emoji = QString::fromUtf8("\xF0\x9F\x93\x81");
    EXPECT_EQ(promptFor("/" + accented.repeated(38) + emoji), "/" + accented.repeated(38) + emoji + " $ ");
    EXPECT_EQ(promptFor("/x" + accented.repeated(38) + emoji), "..." + accented.repeated(36) + emoji + " $ ");
}

TEST(CommandLineBarTest, ReturnEnterAndEscapeReachTheCallbacksAndGoNoFurther)
{
    KeyCountingWindow window;
    auto* bar = new CommandLineBar(&window);
    int shortcutFired = 0;
    auto* escapeShortcut = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    QObject::connect(escapeShortcut, &QShortcut::activated, [&] { ++shortcutFired; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    // Without callbacks the keys are swallowed: nothing is inserted and nothing propagates.
    CommandLineField* field = bar->field();
    field->setFocus();
    QTest::keyClicks(field, "ls -l");
    const auto pressEnds = [&] {
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClick(field, Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(field, Qt::Key_Escape);
    };
    pressEnds();
    EXPECT_EQ(field->text(), "ls -l");
    int submits = 0, cancels = 0;
    field->onSubmit = [&] { ++submits; };
    field->onCancel = [&] { ++cancels; };
    pressEnds();
    EXPECT_EQ(submits, 2);
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(shortcutFired, 0);
    EXPECT_EQ(window.keysSeen, 0);

    // Other keys still edit.
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClick(field, Qt::Key_Home);
    QTest::keyClicks(field, "x");
    EXPECT_EQ(field->text(), "xls -");
}
