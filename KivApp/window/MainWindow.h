#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

class QKeyEvent;

namespace kiv {

// The one main window. It sees every key press aimed at any of its widgets before that widget
// does: F1 to F10 go to onFunctionKey (with Alt to onAltFunctionKey, with Ctrl to onControlFunctionKey
// when set), then Ctrl-key shortcuts (Cmd on macOS) are looked up in onCommandKeyEquivalent, and only
// the rest reaches the focused widget; while isKeyboardTaken says so, every key reaches it. Its
// content view fills it.
class MainWindow : public QWidget
{
    Q_OBJECT
public:
    // A Ctrl-key shortcut: the key's text without modifiers other than Shift ("s", "S", "\r" for
    // Return and keypad Enter), and what it runs.
    using CommandKeyEquivalent = std::pair<QString, std::function<void()>>;

    // Creates the empty, hidden top-level window and starts watching the application's key
    // presses; the watch ends with the window.
    explicit MainWindow(QWidget* parent = nullptr);

    // Returns the function-key number (1 to 10) of the Qt key `key`, or 0 for any other key.
    static int functionKeyNumber(int key);

    // Makes `view` (owned by the window from now on) fill the window, replacing nothing: call once.
    void setContentView(QWidget* view);
    // Returns the content view, or null before setContentView.
    QWidget* contentView() const { return m_contentView; }

    // Applies the key routing to `event` as if it were aimed at a widget of this window; returns
    // whether the window consumed it (every F1 to F10, and matched Ctrl-key shortcuts), never
    // while the keyboard is taken.
    bool routeKeyPress(const QKeyEvent& event);

    // Asked before each key press is routed; while it returns true the focused widget gets every
    // key (the console, whose program takes them all). May be unset.
    std::function<bool()> isKeyboardTaken;

    // Called with 1 to 10 when F1 to F10 is pressed; may be unset (the key is consumed anyway).
    std::function<void(int key)> onFunctionKey;
    // Called with 1 to 10 when F1 to F10 is pressed with Alt; when unset those go to onFunctionKey.
    std::function<void(int key)> onAltFunctionKey;
    // Called with 1 to 10 when Ctrl+F1 to Ctrl+F10 is pressed; when unset they go to onFunctionKey.
    std::function<void(int key)> onControlFunctionKey;
    // Ctrl-key shortcuts, tried in order; the first whose text matches exactly runs.
    std::vector<CommandKeyEquivalent> onCommandKeyEquivalent;
    // Asked when the window is about to close; returning false keeps it open. May be unset.
    std::function<bool()> onShouldClose;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool isOwnWidget(QObject* object) const;
    bool runCommandKeyEquivalent(const QKeyEvent& event);

    QWidget* m_contentView = nullptr;
};

} // namespace kiv
