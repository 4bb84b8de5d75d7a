#include "window/PulldownMenus.h"

#include "window/MainWindowController.h"

namespace kiv::PulldownMenus {

namespace {

// The "Left" and "Right" menus differ only in the panel they act on.
std::vector<RetroMenuItem> panelMenu(
    std::function<void()> refresh, std::function<void()> toggleHidden, std::function<void()> goHome)
{
    return { RetroMenuItem::item("Refresh", std::move(refresh)),
        RetroMenuItem::item("Toggle Hidden Files", std::move(toggleHidden)),
        RetroMenuItem::item("Go to Home Folder", std::move(goHome)) };
}

} // namespace

std::vector<RetroMenuItem> items(int index, MainWindowController& controller)
{
    using Item = RetroMenuItem;
    using C = MainWindowController;
    const auto call = [&controller](void (C::*method)()) { return controller.weakCall(method); };
    switch (index) {
    case 0:
        return panelMenu(call(&C::refreshLeft), call(&C::toggleHiddenLeft), call(&C::goHomeLeft));
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
        return panelMenu(call(&C::refreshRight), call(&C::toggleHiddenRight), call(&C::goHomeRight));
    default:
        return {};
    }
}

} // namespace kiv::PulldownMenus
