#pragma once

#include "toolkit/RetroMenuItem.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <functional>
#include <memory>
#include <vector>

namespace kiv {

class RetroMenuPanel;

// One open popup menu, from being shown to being closed. At most one session is open: it is
// owned by current() until it ends. However it closes (an entry chosen, Escape, an outside
// click, focus loss, another menu opening), it ends once, and a chosen action runs only after
// the popup has been hidden.
class RetroMenuSession : public QObject
{
    Q_OBJECT
public:
    // Creates a session whose hidden popup shows `items`; `owner`'s window (may be null) owns it.
    RetroMenuSession(std::vector<RetroMenuItem> items, QWidget* owner);
    // Schedules the popup's deletion; the popup may be in the middle of its own event.
    ~RetroMenuSession() override;

    // Ends the open session without action, then opens a new one for `items` with its top-left
    // corner at `screenPoint` (global coordinates), kept inside `relativeTo`'s screen.
    static void show(std::vector<RetroMenuItem> items, QPoint screenPoint, QWidget* relativeTo);
    // Returns the open session, or null when no menu is open.
    static RetroMenuSession* current();

    // Places the popup at `screenPoint` inside the available area of `relativeTo`'s screen (or
    // the primary screen), wires its callbacks and shows it with the keyboard.
    void present(QPoint screenPoint, QWidget* relativeTo);
    // Closes the menu: the first call hides the popup, releases the session from current() and
    // then runs `runAction` when given; later calls do nothing.
    void end(std::function<void()> runAction);

    // Returns the popup window.
    RetroMenuPanel* panel() const;

    // Returns `frame` moved left so its right edge is inside `available`, then right so its left
    // edge is, then up so its bottom edge is; its top edge is not corrected.
    static QRect placedFrame(QRect frame, const QRect& available);

private:
    QPointer<RetroMenuPanel> m_panel;
    bool m_hasEnded = false;
};

} // namespace kiv
