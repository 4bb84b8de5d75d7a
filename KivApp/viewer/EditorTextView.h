#pragma once

#include <QPlainTextEdit>
#include <functional>

namespace kiv {

// The text area of the in-panel editor: plain text that wraps at the widget's width, with a
// caret drawn in the theme's editor caret colour. Escape and the save shortcut are reported, not handled.
class EditorTextView : public QPlainTextEdit
{
    Q_OBJECT
public:
    // Creates an empty editable text area.
    explicit EditorTextView(QWidget* parent = nullptr);

    // Called on Escape instead of any other handling; may be unset.
    std::function<void()> onEscape;
    // Called on the platform's save shortcut (Ctrl+S, Cmd+S on macOS); may be unset.
    std::function<void()> onSave;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kiv
