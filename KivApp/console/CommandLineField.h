#pragma once

#include <QLineEdit>

namespace kiv {

// The one-line input of the command line. Every key edits the line as usual, but for those the
// window's command table gives the command line (Return runs the line, Escape leaves it, Up and
// Down recall the history), which the window takes before the field sees them.
class CommandLineField : public QLineEdit
{
    Q_OBJECT
public:
    // Creates an empty field.
    explicit CommandLineField(QWidget* parent = nullptr);
};

} // namespace kiv
