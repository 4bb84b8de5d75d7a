#pragma once

#include "toolkit/RetroDialogStyle.h"

#include <QDialog>

namespace kiv {

class RetroDialogView;

// A frameless modal dialog window around one RetroDialogView, sized to the view's needs and
// shown centred on its parent. Its answer is `cancel` until OK is chosen.
class RetroDialogWindow : public QDialog
{
    Q_OBJECT
public:
    // Creates the hidden dialog; `parent` (may be null) keeps it above the main window.
    RetroDialogWindow(const QString& title, const QString& message, const RetroDialogStyle& style,
        const QString& okTitle, ButtonTone okTone, QWidget* parent = nullptr);

    // Centres the dialog on `relativeTo`'s window (or on the screen when null), runs it modally
    // until answered and returns the answer.
    RetroDialogResponse runModal(QWidget* relativeTo);
    // Ends the modal run with `response`.
    void finish(RetroDialogResponse response);
    // Returns the input field's text, or an empty string when there is none.
    QString textFieldValue() const;
    // Returns the dialog's face.
    RetroDialogView* dialogView() const { return m_dialogView; }

    // Treats any other way of closing (the window system, QDialog's own Escape) as Cancel.
    void reject() override;

private:
    void centreOn(QWidget* relativeTo);

    RetroDialogView* m_dialogView;
    RetroDialogResponse m_responseCode = RetroDialogResponse::cancel;
};

} // namespace kiv
