#pragma once

#include "commands/CommandContext.h"

#include <QObject>
#include <string>
#include <vector>

namespace kiv {

class TrashJob;

// Moving the active panel's selection to the trash (Delete, "Files > Move to Trash"), recorded in
// the history so it can be undone. Items that cannot go to the trash are never deleted unasked:
// the permanent delete is offered for them as a choice of its own.
class TrashCommands : public QObject
{
    Q_OBJECT
public:
    // More items than this are moved only after a question.
    static constexpr std::size_t itemsWithoutQuestion = 10;

    // Works in `context`.
    explicit TrashCommands(CommandContext context, QObject* parent = nullptr);

    // Moves the marked items, or the one under the cursor, to the trash as a job and clears the
    // marks; once it has ended the history records what went, and the items that have no trash
    // are offered for the permanent delete. On a server's panel, which has no trash, the permanent
    // delete is offered at once (ServerDelete).
    void trashOperation();

private:
    void trashEnded(const TrashJob& job);
    void offerPermanentDelete(const std::vector<std::string>& paths, const std::string& reason);

    CommandContext m_context;
};

} // namespace kiv
