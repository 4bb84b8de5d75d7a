#include "toolkit/RetroMenu.h"

#include "toolkit/RetroMenuPanel.h"
#include "toolkit/RetroMenuSession.h"
#include "toolkit/RetroMenuView.h"

#include <QWidget>

namespace kiv::RetroMenu {

void popUp(std::vector<RetroMenuItem> items, QPoint point, QWidget* view, Opening opening)
{
    if (!view || !view->isVisible())
        return;
    RetroMenuSession::show(std::move(items), view->mapToGlobal(point), view);
    if (opening == Opening::firstHighlighted)
        RetroMenuSession::current()->panel()->menuView()->moveHighlight(1);
}

} // namespace kiv::RetroMenu
