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
using kiv::test::answerNextModal;
using kiv::test::answerNextModalWithKeys;
using kiv::test::hasColorAt;
using kiv::test::keyTarget;

namespace {

RetroDialogView* viewOf(QWidget* modal)
{
    return modal->findChild<RetroDialogView*>();
}

void answerByClicking(RetroDialogButton* (RetroDialogView::*button)() const)
{
    answerNextModal(
        [button](QWidget* modal) { QTest::mouseClick((viewOf(modal)->*button)(), Qt::LeftButton); });
}

bool confirmAnsweredBy(std::function<void()> arrangeAnswer)
{
    arrangeAnswer();
    return RetroDialogs::confirm(nullptr, "Delete", "Delete 2 items?", "Delete", ButtonTone::destructive);
}

// Counts pixels of `color` inside `area` of `image`.
int countColor(const QImage& image, const QRect& area, const QColor& color)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += hasColorAt(image, x, y, color);
    return count;
}

} // namespace

TEST(RetroDialogsTest, PromptReturnsTheFieldOnOkAndNothingOnCancel)
{
    answerNextModalWithKeys(Qt::Key_Return, "new name");
    EXPECT_EQ(RetroDialogs::prompt(nullptr, "Rename", "New name:", "old"), QString("new name"));

    answerNextModalWithKeys(Qt::Key_Return);
    EXPECT_EQ(RetroDialogs::prompt(nullptr, "Copy", "Copy to:", "/tmp/x"), QString("/tmp/x"));

    answerNextModal([](QWidget* modal) {
        QTest::keyClick(keyTarget(modal), Qt::Key_Backspace);
        QTest::keyClick(keyTarget(modal), Qt::Key_Enter, Qt::KeypadModifier);
    });
    EXPECT_EQ(RetroDialogs::prompt(nullptr, "Make folder", "Name:", "abc"), QString(""));

    answerNextModalWithKeys(Qt::Key_Escape, "edited");
    EXPECT_EQ(RetroDialogs::prompt(nullptr, "Rename", "New name:", "old"), std::nullopt);

    answerByClicking(&RetroDialogView::okButton);
    EXPECT_EQ(RetroDialogs::prompt(nullptr, "Rename", "New name:", "kept"), QString("kept"));
}

TEST(RetroDialogsTest, ConfirmIsTrueOnlyForOkByKeyOrClick)
{
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

    QString shown;
    answerNextModal([&](QWidget* modal) {
        shown = viewOf(modal)->titleText() + ": " + viewOf(modal)->messageText();
        EXPECT_EQ(viewOf(modal)->cancelButton(), nullptr);
        QTest::keyClick(keyTarget(modal), Qt::Key_Return);
    });
    RetroDialogs::error(nullptr, std::runtime_error("disk on fire"));
    EXPECT_EQ(shown, "Error: disk on fire");
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
        RetroDialogButton* ok = viewOf(modal)->okButton();
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

TEST(RetroDialogsTest, SizeFollowsTheWrappedMessageWithA110MinimumAndTheDrawingShowsTheTone)
{
    const RetroDialogView empty("T", "", RetroDialogStyle::confirm(), "OK", ButtonTone::ordinary);
    EXPECT_EQ(empty.intrinsicSize(), QSize(352, 110));

    const QString oneLine = "Quit Tavrin?";
    const int lineHeight = RetroDialogView::wrappedMessageHeight(oneLine);
    const RetroDialogView withField("T", oneLine, RetroDialogStyle::prompt("x"), "OK", ButtonTone::ordinary);
    EXPECT_EQ(withField.intrinsicSize(), QSize(352, std::max(110, 133 + lineHeight)));

    const QString longPath = "Delete /" + QString(120, QChar('a')) + "/and/a/few/more/words here?";
    const int wrapped = RetroDialogView::wrappedMessageHeight(longPath);
    EXPECT_GE(wrapped, 3 * lineHeight);
    EXPECT_EQ(RetroDialogView::wrappedMessageHeight("one\ntwo"), 2 * lineHeight);

    RetroDialogView view("Delete", longPath, RetroDialogStyle::confirm(), "Delete", ButtonTone::destructive);
    EXPECT_EQ(view.height(), std::max(110, 97 + wrapped));
    EXPECT_EQ(view.okButton()->geometry().right() + 1, 352 - 16);
    EXPECT_EQ(view.cancelButton()->geometry().right() + 1 + 10, view.okButton()->x());
    EXPECT_GE(view.okButton()->y(), 16 + 17 + 6 + 8 + wrapped);
    EXPECT_EQ(view.okButton()->geometry().bottom() + 1, view.height() - 16);

    // Drawn: a black frame, the rule under the title, a red destructive label and a cyan hover.
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QImage image = view.grab().toImage();
    EXPECT_TRUE(hasColorAt(image, 0, 0, Theme::popupFrame()));
    EXPECT_TRUE(hasColorAt(image, 1, 1, Theme::popupFrame()));
    EXPECT_TRUE(hasColorAt(image, 351, 60, Theme::popupFrame()));
    EXPECT_TRUE(hasColorAt(image, 2, 2, Theme::dialogBackground()));
    EXPECT_TRUE(hasColorAt(image, 100, 16 + 17 + 6, Theme::popupRule()));
    EXPECT_GT(countColor(image, view.okButton()->geometry(), Theme::destructiveButtonText()), 0);
    EXPECT_EQ(countColor(image, view.cancelButton()->geometry(), Theme::destructiveButtonText()), 0);
    EXPECT_EQ(countColor(image, view.okButton()->geometry(), Theme::menuHighlightBG()), 0);

    QTest::mouseMove(view.okButton(), view.okButton()->rect().center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.okButton()->isHighlighted(); }, 1000));
    image = view.grab().toImage();
    EXPECT_TRUE(
        hasColorAt(image, view.okButton()->x() + 1, view.okButton()->y() + 1, Theme::menuHighlightBG()));

    QTest::mouseMove(&view, QPoint(20, 20));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !view.okButton()->isHighlighted(); }, 1000));
}
