#pragma once

#include "commands/CommandContext.h"
#include "files/FileEntry.h"

#include <QObject>
#include <string>
#include <vector>

namespace kiv {

class PanelViewController;

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

    // Moves the marked items, or the one under the cursor, to the trash; then clears the marks
    // and relists both panels, the cursor staying on its row.
    void trashOperation();

private:
    void trashItems(const std::string& folder, const std::vector<FileEntry>& items);
    void offerPermanentDelete(
        const std::string& folder, const std::vector<FileEntry>& items, const std::string& reason);

    CommandContext m_context;
};

} // namespace kiv
