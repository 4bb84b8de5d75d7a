#include "toolkit/RetroDialogs.h"
#include "DialogDriver.h"
#include "WidgetProbe.h"
#include "toolkit/RetroDialogButton.h"
#include "toolkit/RetroDialogView.h"
#include "toolkit/Theme.h"

#include <QTest>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace kiv;
using namespace kiv::test;

namespace {

void answerByClicking(RetroDialogButton* (RetroDialogView::*button)() const)
{
    answerNextModal([button](QWidget* modal) {
        QTest::mouseClick((modal->findChild<RetroDialogView*>()->*button)(), Qt::LeftButton);
    });
}

bool confirmAnsweredBy(std::function<void()> arrangeAnswer)
{
    arrangeAnswer();
    return RetroDialogs::confirm(nullptr, "Delete", "Delete 2 items?", "Delete", ButtonTone::destructive);
}

} // namespace

TEST(RetroDialogsTest, PromptGivesTheFieldOnOkAndNothingOnCancelAndConfirmIsTrueOnlyForOk)
{
    answerNextModalWithKeys(Qt::Key_Return, "new name");
    EXPECT_EQ(RetroDialogs::prompt(nullptr, "Rename", "New name:", "old"), QString("new name"));
    answerNextModal([](QWidget* modal) {
        QTest::keyClick(keyTarget(modal), Qt::Key_Backspace);
        QTest::keyClick(keyTarget(modal), Qt::Key_Enter, Qt::KeypadModifier);
    });
    EXPECT_EQ(RetroDialogs::prompt(nullptr, "Make folder", "Name:", "abc"), QString(""));
    answerNextModalWithKeys(Qt::Key_Escape, "edited");
    EXPECT_EQ(RetroDialogs::prompt(nullptr, "Rename", "New name:", "old"), std::nullopt);
    answerByClicking(&RetroDialogView::okButton);
    EXPECT_EQ(RetroDialogs::prompt(nullptr, "Rename", "New name:", "kept"), QString("kept"));

    EXPECT_FALSE(confirmAnsweredBy([] { answerNextModalWithKeys(Qt::Key_Escape); }));
    EXPECT_FALSE(confirmAnsweredBy([] { answerByClicking(&RetroDialogView::cancelButton); }));
    EXPECT_TRUE(confirmAnsweredBy([] { answerNextModalWithKeys(Qt::Key_Return); }));
    EXPECT_TRUE(confirmAnsweredBy([] { answerNextModalWithKeys(Qt::Key_Enter); }));
    EXPECT_TRUE(confirmAnsweredBy([] { answerByClicking(&RetroDialogView::okButton); }));
}

TEST(RetroDialogsTest, MessageEndsOnEveryAnsweringKeyAndOnOkAndErrorShowsTheUserText)
{
    for (Qt::Key key : { Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape }) {
        answerNextModalWithKeys(key);
        RetroDialogs::message(nullptr, "Info", "Done.");
    }
    answerByClicking(&RetroDialogView::okButton);
    RetroDialogs::message(nullptr, "Info", "Done.");
    EXPECT_EQ(answering({ ok }, [] { RetroDialogs::error(nullptr, std::runtime_error("disk on fire")); }),
        ShownDialogs { notice("Error", "disk on fire") });
}

TEST(RetroDialogsTest, DialogIsCentredAboveItsParentAndAPressReleasedOutsideOkDoesNotAnswer)
{
    QWidget mainWindow;
    mainWindow.setGeometry(100, 80, 800, 600);
    mainWindow.show();
    QPoint offCentre;
    bool parentIsMainWindow = false, stillOpenAfterRelease = false;
    answerNextModal([&](QWidget* modal) {
        offCentre = modal->geometry().center() - mainWindow.geometry().center();
        parentIsMainWindow = modal->parentWidget() == &mainWindow;
        RetroDialogButton* ok = modal->findChild<RetroDialogView*>()->okButton();
        QTest::mousePress(ok, Qt::LeftButton, {}, ok->rect().center());
        QTest::mouseRelease(ok, Qt::LeftButton, {}, ok->rect().bottomRight() + QPoint(20, 20));
        stillOpenAfterRelease = modal->isVisible();
        QTest::keyClick(keyTarget(modal), Qt::Key_Escape);
    });
    EXPECT_FALSE(RetroDialogs::confirm(&mainWindow, "Quit", "Quit Tavrin?"));
    EXPECT_TRUE(parentIsMainWindow);
    EXPECT_LE(std::max(std::abs(offCentre.x()), std::abs(offCentre.y())), 1);
    EXPECT_TRUE(stillOpenAfterRelease);
}

TEST(RetroDialogsTest, ALongMessageWrapsAboveTheButtonsAndTheButtonUnderThePointerTurnsCyan)
{
    const QString longPath = "Delete /" + QString(120, QChar('a')) + "/and/a/few/more/words here?";
    const int wrapped = RetroDialogView::wrappedMessageHeight(longPath);
    EXPECT_GE(wrapped, 3 * RetroDialogView::wrappedMessageHeight("Quit Tavrin?"));
    RetroDialogView view("Delete", longPath, RetroDialogStyle::confirm(), "Delete", ButtonTone::destructive);
    EXPECT_GE(view.okButton()->y(), 16 + 17 + 6 + 8 + wrapped); // below the title, its rule and the text
    EXPECT_LE(view.okButton()->geometry().bottom(), view.height() - 16);

    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QTest::mouseMove(view.okButton(), view.okButton()->rect().center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.okButton()->isHighlighted(); }, 1000));
    EXPECT_TRUE(hasColorAt(
        view.grab().toImage(), view.okButton()->x() + 1, view.okButton()->y() + 1, Theme::menuHighlightBG()));
    QTest::mouseMove(&view, QPoint(20, 20));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !view.okButton()->isHighlighted(); }, 1000));
}
