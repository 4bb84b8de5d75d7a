#pragma once

#include <QLineEdit>
#include <functional>

namespace kiv {

// The one-line input of the command line. Return and keypad Enter submit, Escape cancels; both
// are consumed here, so they never reach a dialog's default button or insert anything. Up and
// Down ask for the older and newer lines of the history. Every other key edits the line as usual.
class CommandLineField : public QLineEdit
{
    Q_OBJECT
public:
    // Creates an empty field with no callbacks set.
    explicit CommandLineField(QWidget* parent = nullptr);

    // Called when Return or keypad Enter is pressed in the field, if set.
    std::function<void()> onSubmit;
    // Called when Escape is pressed in the field, if set.
    std::function<void()> onCancel;
    // Called when Up is pressed in the field, if set.
    std::function<void()> onOlder;
    // Called when Down is pressed in the field, if set.
    std::function<void()> onNewer;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace kiv
