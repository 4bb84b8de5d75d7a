#pragma once

#include "toolkit/RetroDialogStyle.h"

#include <QWidget>
#include <functional>

class QLineEdit;
class QPlainTextEdit;

namespace kiv {

class RetroDialogButton;

// The face of a retro dialog: a centred bold title over a dark-grey rule, the wrapped message,
// an input field for prompts, and the bracketed buttons at the bottom right (the alternative left
// of Cancel left of OK), all inside a two-pixel black frame. Return or Enter means OK and Escape
// means Cancel, whether the field or the face has the keyboard; the first letter of the
// alternative's caption chooses it (with Alt in a prompt, whose field takes letters). Tab never takes the
// keyboard from the field; without a field, Left, Right and Tab highlight the buttons in turn. One
// button is always highlighted, OK at first, and Return presses it.
class RetroDialogView : public QWidget
{
    Q_OBJECT
public:
    // The width the message wraps at, in pixels.
    static constexpr int contentWidth = 320;
    // The margin around the content, in pixels.
    static constexpr int padding = 16;
    // How far the rule under the title stays from either side, and the gap between two buttons.
    static constexpr int ruleInset = 8;
    static constexpr int buttonGap = 10;

    // Creates the face for `style`; the OK button reads `okTitle` and the Cancel button, present
    // exactly when style.hasCancel(), reads "Cancel".
    RetroDialogView(const QString& title, const QString& message, const RetroDialogStyle& style,
        const QString& okTitle, ButtonTone okTone, QWidget* parent = nullptr);

    // Returns the font of the message.
    static QFont messageFont();
    // Returns the font of the title.
    static QFont titleFont();
    // Returns the height of the band the title stands in.
    static int titleBandHeight();
    // Returns the height of `message` wrapped at contentWidth in messageFont(), rounded up;
    // explicit line breaks start new lines and words longer than a line break anywhere.
    static int wrappedMessageHeight(const QString& message);

    // Returns the size the dialog needs: 352 wide, or wider for a listing's longest line, and tall
    // enough for title, message (a listing: at most 24 lines), field and buttons, but at least 110;
    // a listing keeps within the style's bounds.
    QSize intrinsicSize() const;
    // Returns how many characters of a line a listing shows in a dialog `windowWidth` wide.
    static int listingColumns(int windowWidth);
    // Returns the widget that should take the keyboard first: the input field, else this face.
    QWidget* fieldForFirstResponder();
    // Returns the input field's text, or an empty string when there is no field.
    QString textFieldValue() const;

    // Returns the title shown at the top.
    const QString& titleText() const { return m_titleText; }
    // Returns the message shown under the rule.
    const QString& messageText() const { return m_messageText; }
    // Returns the input field, or null when the dialog has none.
    QLineEdit* textField() const { return m_textField; }
    // Returns the scrolling lines of a listing, or null for the other kinds.
    QPlainTextEdit* listing() const { return m_listing; }
    // Returns the OK button, which every dialog has.
    RetroDialogButton* okButton() const { return m_okButton; }
    // Returns the Cancel button, or null for message dialogs.
    RetroDialogButton* cancelButton() const { return m_cancelButton; }
    // Returns the alternative answer's button, or null when the style has none.
    RetroDialogButton* alternativeButton() const { return m_alternativeButton; }

    // Called when the user chooses OK (button, Return or Enter); may be unset.
    std::function<void()> onOK;
    // Called when the user chooses Cancel (button or Escape); may be unset.
    std::function<void()> onCancel;
    // Called when the user chooses the alternative (button or its letter); may be unset.
    std::function<void()> onAlternative;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createListing(const QString& lines);
    QSize listingSize() const;
    int chromeHeight() const;
    void chooseOtherButton(int step);
    void createTextField(const QString& defaultValue);
    RetroDialogButton* createButton(
        const QString& title, ButtonTone tone, std::function<void()> RetroDialogView::*callback);
    bool isAlternativeKey(const QKeyEvent& event) const;
    void layoutSubviews();
    void drawTitle(QPainter& painter) const;
    void drawFrame(QPainter& painter) const;

    QString m_titleText;
    QString m_messageText;
    RetroDialogStyle m_style;
    QLineEdit* m_textField = nullptr;
    QPlainTextEdit* m_listing = nullptr;
    RetroDialogButton* m_okButton = nullptr;
    RetroDialogButton* m_cancelButton = nullptr;
    RetroDialogButton* m_alternativeButton = nullptr;
    // The button highlighted, which Return presses: OK until the keys choose another.
    RetroDialogButton* m_chosenButton = nullptr;
    QRect m_messageRect;
    QRect m_titleRect;
    int m_separatorY = 0;
};

} // namespace kiv
