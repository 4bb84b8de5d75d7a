#pragma once

#include <QWidget>
#include <functional>

class QKeyEvent;

namespace kiv {

// The one main window. It sees every key press aimed at any of its widgets before that widget
// does, and asks onKeyPress what to do with it; only a key the window did not take reaches the
// focused widget. Its content view fills it.
class MainWindow : public QWidget
{
    Q_OBJECT
public:
    // Creates the empty, hidden top-level window and starts watching the application's key
    // presses; the watch ends with the window.
    explicit MainWindow(QWidget* parent = nullptr);

    // Makes `view` (owned by the window from now on) fill the window, replacing nothing: call once.
    void setContentView(QWidget* view);
    // Returns the content view, or null before setContentView.
    QWidget* contentView() const { return m_contentView; }

    // Asked about each key press aimed at a widget of this window, with that widget, before the
    // widget sees it; returns whether the window took the key. May be unset: every key goes on.
    std::function<bool(const QKeyEvent& event, QObject* receiver)> onKeyPress;
    // Asked, before any shortcut of a menu or widget may act on a key press aimed at `receiver`,
    // whether onKeyPress will take it; a key it will take goes to onKeyPress as a key press. May
    // be unset.
    std::function<bool(const QKeyEvent& event, QObject* receiver)> takesKey;
    // Asked when the window is about to close; returning false keeps it open. May be unset.
    std::function<bool()> onShouldClose;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool isOwnWidget(QObject* object) const;

    QWidget* m_contentView = nullptr;
};

} // namespace kiv
