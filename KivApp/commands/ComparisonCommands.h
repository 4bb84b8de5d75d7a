#pragma once

#include "commands/CommandContext.h"
#include "sync/SyncItem.h"

#include <QObject>
#include <QString>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kiv {

// Comparing what the two panels show: two files side by side with their differing lines marked,
// and two folder trees made alike as the user chooses. Both read the disk as jobs; the
// synchronization is recorded as one operation that can be undone.
class ComparisonCommands : public QObject
{
    Q_OBJECT
public:
    // Works in `context`.
    explicit ComparisonCommands(CommandContext context, QObject* parent = nullptr);

    // Compares the two marked files of the active panel, or else the files under the two panels'
    // cursors, as a job, then shows them side by side in a window of their own.
    void compareFiles();
    // Asks how to compare, compares the two panels' folder trees as a job, lets the user choose
    // what to do with each difference, then carries it out as one job recorded for undo.
    void synchronize();

private:
    std::optional<std::pair<std::string, std::string>> filesToCompare() const;
    std::optional<std::pair<std::string, std::string>> foldersToSynchronize() const;
    void chooseAndSynchronize(
        const std::pair<std::string, std::string>& roots, const std::vector<SyncItem>& differences);
    void refuse(const QString& title, const QString& text) const;

    CommandContext m_context;
};

} // namespace kiv
