#pragma once

#include <QString>

namespace kiv {

struct CommandContext;
class PanelViewController;

// Deleting on a server's panel, for F8 and Delete alike: a server has no trash, so the question
// says the delete is permanent before the items go for good.
namespace ServerDelete {

// Asks under `title` whether to delete the selection of `source`, a panel on a server, for good;
// on yes starts the delete as a job (SftpDeleteJob) and clears the marks. Nothing when nothing is
// selected.
void offer(const CommandContext& context, PanelViewController& source, const QString& title);

} // namespace ServerDelete

} // namespace kiv
