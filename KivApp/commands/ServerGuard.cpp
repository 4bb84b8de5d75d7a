#include "commands/ServerGuard.h"

#include "panels/PanelViewController.h"
#include "toolkit/RetroDialogs.h"

#include <algorithm>

namespace kiv {

bool ServerGuard::refused(
    QWidget& parent, const QString& what, std::initializer_list<const PanelViewController*> panels)
{
    const bool onServer = std::any_of(panels.begin(), panels.end(),
        [](const PanelViewController* panel) { return panel->state().location().isRemote(); });
    if (onServer)
        RetroDialogs::message(&parent, what,
            what + QStringLiteral(" works on folders of this machine only, not on a server's folder."));
    return onServer;
}

} // namespace kiv
