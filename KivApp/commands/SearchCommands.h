#pragma once

#include "commands/CommandContext.h"
#include "search/FindQuery.h"
#include "search/FindResults.h"

#include <QObject>
#include <memory>
#include <optional>

namespace kiv {

class Door;
class PanelViewController;
class WorkerLink;

// Measuring folders and finding files: the size of the folders marked (or under the cursor) as a
// job, shown in their Size column (Ctrl+Space), and the find dialog whose hits lead the active
// panel to one of them or fill it with all of them (Alt+F7).
class SearchCommands : public QObject
{
    Q_OBJECT
public:
    // Works in `context`.
    explicit SearchCommands(CommandContext context, QObject* parent = nullptr);

    // Measures the marked folders of the active panel, or the folder under its cursor, as a job
    // (through the server's door on a server's panel); each size shows in both panels' rows for it
    // on that place as soon as it is known (Ctrl+Space).
    void measureFolders();
    // Asks what to find, starting from the last search in the active panel's folder, shows the hits
    // as they come, and takes the active panel to the hit chosen or shows all of them (Alt+F7). On
    // a server's panel the search walks the server's folders, and only goes to one hit.
    void findFile();

private:
    void showFolderSize(const Door* server, const std::string& path, std::int64_t bytes);
    void goToHit(const FindResults::Hit& hit, const std::shared_ptr<const Door>& server);
    void showHitsInPanel(const std::string& root, const std::vector<FindResults::Hit>& hits);

    CommandContext m_context;
    WorkerLink* m_link; // brings the folder sizes measured on the job's thread
    std::optional<FindQuery> m_lastQuery;
};

} // namespace kiv
