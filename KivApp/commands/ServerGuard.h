#pragma once

#include <QString>
#include <initializer_list>

class QWidget;

namespace kiv {

class PanelViewController;

// Keeps commands written for folders of this machine off a panel that shows a folder on a server:
// such a panel's path names nothing here, and acting on the local folder of the same name would
// change what the user never chose.
namespace ServerGuard {

// Returns true, after saying in a retro dialog over `parent` that `what` works on folders of this
// machine only, when any of `panels` shows a folder on a server; false when none does.
bool refused(QWidget& parent, const QString& what, std::initializer_list<const PanelViewController*> panels);

} // namespace ServerGuard

} // namespace kiv
