#include "toolkit/RetroDialogs.h"
#include "DialogDriver.h"
#include "toolkit/RetroChoiceView.h"
#include "toolkit/RetroDialogButton.h"
#include "toolkit/RetroDialogView.h"
#include "toolkit/Theme.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace kiv;
using namespace kiv::test;

namespace {

// Runs `dialog`, its dialog answered with `answer`; returns what the call returned.
template <typename Dialog> auto answered(Answer answer, Dialog dialog)
{
    decltype(dialog()) result {};
    answering({ answer }, [&] { result = dialog(); });
    return result;
}

// Runs `dialog`, its dialog answered by a click on `button`; returns what the call returned.
template <typename Dialog> auto clicked(RetroDialogButton* (RetroDialogView::*button)() const, Dialog dialog)
{
    answerNextModal([button](QWidget* modal) {
        QTest::mouseClick((modal->findChild<RetroDialogView*>()->*button)(), Qt::LeftButton);
    });
    return dialog();
}

// The pointer comes to rest over `button`, as it does when a dialog opens under it.
void pointerEnters(QWidget* button)
{
    const QPointF inside = button->rect().center();
    QEnterEvent entered(inside, button->mapTo(button->window(), inside), button->mapToGlobal(inside));
    QApplication::sendEvent(button, &entered);
}

// Which buttons are drawn on the highlight's cyan.
std::vector<bool> drawnHighlighted(const std::vector<RetroDialogButton*>& buttons)
{
    std::vector<bool> drawn;
    for (RetroDialogButton* button : buttons)
        drawn.push_back(button->grab().toImage().pixel(2, 2) == Theme::menuHighlightBG().rgb());
    return drawn;
}

} // namespace

TEST(RetroDialogsTest, OnlyTheButtonReturnPressesIsHighlightedWhereverThePointerRests)
{
    // A prompt under a pointer resting on Cancel: OK alone is highlighted, and Return presses it.
    answerNextModal([](QWidget* modal) {
        auto* face = modal->findChild<RetroDialogView*>();
        pointerEnters(face->cancelButton());
        EXPECT_EQ(drawnHighlighted({ face->okButton(), face->cancelButton() }), (std::vector { true, false }));
        QTest::keyClick(face->textField(), Qt::Key_Return);
    });
    EXPECT_EQ(RetroDialogs::prompt(nullptr, "Select group", "Mark the names matching:", "*"), QString("*"));
    // A question: the keys move the one highlight, the pointer does not, and Return presses it.
    answerNextModal([](QWidget* modal) {
        auto* face = modal->findChild<RetroDialogView*>();
        const std::vector buttons { face->alternativeButton(), face->cancelButton(), face->okButton() };
        EXPECT_EQ(drawnHighlighted(buttons), (std::vector { false, false, true }));
        QTest::keyClick(face, Qt::Key_Right);
        pointerEnters(face->okButton());
        EXPECT_EQ(drawnHighlighted(buttons), (std::vector { true, false, false }));
        QTest::keyClick(face, Qt::Key_Return);
    });
    EXPECT_EQ(RetroDialogs::ask(nullptr, "Unsaved Changes", "Close?", "Discard", ButtonTone::destructive, "Save"),
        RetroDialogResponse::alternative);
    // Of lettered choices, only the one Return makes is highlighted, and none where Return makes none.
    RetroChoiceView find("Find File", { { "Return Find", Qt::Key_Return }, { "Esc Cancel", Qt::Key_Escape } }, 400, 1);
    RetroChoiceView failed("Copy - Error", { { "S Skip", Qt::Key_S }, { "L Skip all", Qt::Key_L } }, 400, 1);
    pointerEnters(find.buttons()[1]);
    pointerEnters(failed.buttons()[1]);
    EXPECT_EQ(drawnHighlighted(find.buttons()), (std::vector { true, false }));
    EXPECT_EQ(drawnHighlighted(failed.buttons()), (std::vector { false, false }));
}

TEST(RetroDialogsTest, PromptGivesTheFieldOnOkAndNothingOnCancelAndConfirmIsTrueOnlyForOk)
{
    const auto prompt = [] { return RetroDialogs::prompt(nullptr, "Rename", "New name:", "old"); };
    EXPECT_EQ(answered(typing("new name"), prompt), QString("new name"));
    EXPECT_EQ(answered({ Qt::Key_Enter, QString() }, prompt), QString(""));
    EXPECT_EQ(answered({ Qt::Key_Escape, "edited" }, prompt), std::nullopt);
    EXPECT_EQ(clicked(&RetroDialogView::okButton, prompt), QString("old"));

    // A password is typed into a field that shows nothing of it, not even how long it is.
    const auto secret = [] { return RetroDialogs::secret(nullptr, "Connect", "Password:"); };
    answerNextModal([](QWidget* modal) {
        QLineEdit* field = modal->findChild<RetroDialogView*>()->textField();
        EXPECT_EQ(field->echoMode(), QLineEdit::NoEcho);
        EXPECT_EQ(field->text(), "");
        QTest::keyClicks(field, "s3cret");
        EXPECT_EQ(field->displayText(), "");
        QTest::keyClick(field, Qt::Key_Return);
    });
    EXPECT_EQ(secret(), QString("s3cret"));
    EXPECT_EQ(answered({ Qt::Key_Escape, "typed" }, secret), std::nullopt);

    const auto confirm = [] { return RetroDialogs::confirm(nullptr, "Quit", "Quit Tavrin?"); };
    EXPECT_FALSE(answered(no, confirm));
    EXPECT_TRUE(answered(ok, confirm));
    EXPECT_TRUE(answered({ Qt::Key_Enter, {} }, confirm));
    EXPECT_FALSE(clicked(&RetroDialogView::cancelButton, confirm));
    EXPECT_TRUE(clicked(&RetroDialogView::okButton, confirm));

    // Tab leaves the keyboard in the prompt's field; a confirmation's keys go from OK to Cancel and back.
    answerNextModal([](QWidget* modal) {
        QLineEdit* field = modal->findChild<RetroDialogView*>()->textField();
        EXPECT_TRUE(QTest::qWaitFor([&] { return field->hasFocus(); }));
        for (Qt::Key key : { Qt::Key_Tab, Qt::Key_A, Qt::Key_Backtab, Qt::Key_B, Qt::Key_Return }) {
            QWidget* focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr);
            QTest::keyClick(focus, key);
        }
    });
    EXPECT_EQ(prompt(), QString("ab"));
    for (const auto& [keys, answer] :
        std::initializer_list<std::pair<std::vector<Qt::Key>, bool>> { { { Qt::Key_Left }, false },
            { { Qt::Key_Tab, Qt::Key_Right }, true }, { { Qt::Key_Tab }, false } }) {
        answerNextModal([keys = keys, answer = answer](QWidget* modal) {
            for (Qt::Key key : keys)
                QTest::keyClick(modal->findChild<RetroDialogView*>(), key);
            EXPECT_TRUE(modal->findChild<RetroDialogView*>()->cancelButton()->isHighlighted() != answer);
            QTest::keyClick(modal->findChild<RetroDialogView*>(), Qt::Key_Return);
        });
        EXPECT_EQ(confirm(), answer);
    }
}

TEST(RetroDialogsTest, MessageEndsOnEveryAnsweringKeyAndOnOkAndErrorShowsTheUserText)
{
    // A message ends on Escape too, and on a click on OK.
    const auto message = [] { RetroDialogs::message(nullptr, "Info", "Done."); };
    EXPECT_EQ(answering({ no }, message).size(), 1u);
    clicked(&RetroDialogView::okButton, message);
    EXPECT_EQ(answering({ ok }, [] { RetroDialogs::error(nullptr, std::runtime_error("disk on fire")); }),
        ShownDialogs { notice("Error", "disk on fire") });
}

TEST(RetroDialogsTest, DialogBelongsToItsParentAndAPressReleasedOutsideOkDoesNotAnswer)
{
    QWidget mainWindow;
    mainWindow.setGeometry(100, 80, 800, 600);
    mainWindow.show();
    bool parentIsMainWindow = false, stillOpenAfterRelease = false;
    answerNextModal([&](QWidget* modal) {
        parentIsMainWindow = modal->parentWidget() == &mainWindow;
        RetroDialogButton* ok = modal->findChild<RetroDialogView*>()->okButton();
        QTest::mousePress(ok, Qt::LeftButton, {}, ok->rect().center());
        QTest::mouseRelease(ok, Qt::LeftButton, {}, ok->rect().bottomRight() + QPoint(20, 20));
        stillOpenAfterRelease = modal->isVisible();
        modal->close();
    });
    EXPECT_FALSE(RetroDialogs::confirm(&mainWindow, "Quit", "Quit Tavrin?"));
    EXPECT_TRUE(parentIsMainWindow);
    EXPECT_TRUE(stillOpenAfterRelease);
}
