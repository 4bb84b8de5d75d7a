#pragma once

#include "remote/ConnectForm.h"

#include <QDialog>
#include <optional>

namespace kiv {

class RetroChoiceView;

// "Connect to Server": the server's host, port, user and folder, one line each with the key that
// asks for it (H, P, U, F); Return connects once the fields name a server (else says why and stays
// open), Esc cancels.
class ConnectDialog : public QDialog
{
    Q_OBJECT
public:
    // Shows the dialog over `parent`'s window starting from `start`; returns the place on Return,
    // nothing on Esc.
    static std::optional<RemotePlace> ask(QWidget* parent, ConnectForm start);

    // Creates the hidden dialog showing `start`.
    ConnectDialog(ConnectForm start, QWidget* parent);
    // Returns the fields as the user has set them so far.
    const ConnectForm& form() const { return m_form; }

private:
    void refresh();
    void change(int key);
    void edit(const QString& message, std::string& field);
    void connectIfWhole();

    ConnectForm m_form;
    RetroChoiceView* m_face;
};

} // namespace kiv
