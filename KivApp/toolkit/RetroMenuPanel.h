#pragma once

#include "toolkit/RetroMenuItem.h"

#include <QWidget>
#include <functional>
#include <vector>

namespace kiv {

class RetroMenuView;

// The popup window of a retro menu, holding one RetroMenuView. As a Qt::Popup it takes the
// keyboard while shown and closes on any click outside it or when the application loses focus;
// however it is hidden, it reports onCancel. A click outside in this application also takes its
// normal effect on the widget under it.
class RetroMenuPanel : public QWidget
{
    Q_OBJECT
public:
    // Creates the hidden popup for `items`, sized to the view; `parent`'s window (may be null)
    // owns it.
    explicit RetroMenuPanel(std::vector<RetroMenuItem> items, QWidget* parent = nullptr);

    // Returns the menu's face.
    RetroMenuView* menuView() const { return m_menuView; }

    // Called with the chosen entry's action; may be unset.
    std::function<void(std::function<void()>)> onChoose;
    // Called whenever the popup is hidden or Escape is pressed; may be called more than once.
    std::function<void()> onCancel;

protected:
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    RetroMenuView* m_menuView;
};

} // namespace kiv
