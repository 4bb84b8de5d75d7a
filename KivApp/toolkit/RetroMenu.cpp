#include "toolkit/RetroMenu.h"

#include "toolkit/RetroMenuSession.h"

#include <QWidget>

namespace kiv::RetroMenu {

void popUp(std::vector<RetroMenuItem> items, QPoint point, QWidget* view)
{
    if (!view || !view->isVisible())
        return;
    RetroMenuSession::show(std::move(items), view->mapToGlobal(point), view);
}

} // namespace kiv::RetroMenu
