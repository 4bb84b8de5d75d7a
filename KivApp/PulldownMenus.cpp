#include "PulldownMenus.h"

#include "MainWindowController.h"

namespace kiv::PulldownMenus {

std::vector<RetroMenuItem> items(int index, MainWindowController& controller)
{
    using Item = RetroMenuItem;
    using C = MainWindowController;
    const auto call = [&controller](void (C::*method)()) { return controller.weakCall(method); };
    switch (index) {
    case 0:
        return { Item::item("Refresh", call(&C::refreshLeft)),
            Item::item("Toggle Hidden Files", call(&C::toggleHiddenLeft)),
            Item::item("Go to Home Folder", call(&C::goHomeLeft)) };
    case 1:
        return { Item::item("Copy...  (F5)", call(&C::menuCopy)),
            Item::item("Move / Rename...  (F6)", call(&C::menuMove)),
            Item::item("Make Directory...  (F7)", call(&C::menuMkdir)),
            Item::item("Delete...  (F8)", call(&C::menuDelete)), Item::separator(),
            Item::item("Extract Archive to Other Panel", call(&C::menuExtractArchive)),
            Item::item("Compare Directories", call(&C::menuCompare)) };
    case 2:
        return { Item::item("User Menu...  (F2)", call(&C::menuUserMenu)),
            Item::item("Edit User Menu File", call(&C::editUserMenuFile)),
            Item::item("Focus Command Line", call(&C::focusCommandLine)) };
    case 3:
        return { Item::item("Toggle Hidden Files (Both Panels)", call(&C::toggleHiddenBoth)),
            Item::item("About Tavrin", call(&C::showAbout)) };
    case 4:
        return { Item::item("Refresh", call(&C::refreshRight)),
            Item::item("Toggle Hidden Files", call(&C::toggleHiddenRight)),
            Item::item("Go to Home Folder", call(&C::goHomeRight)) };
    default:
        return {};
    }
}

} // namespace kiv::PulldownMenus
