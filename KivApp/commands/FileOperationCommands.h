#pragma once

#include "base/FileEntry.h"
#include "commands/CommandContext.h"
#include "history/OperationRecord.h"
#include "files/DoorCopyJob.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kiv {

class ItemChangeJob;
class TransferJob;
class TrashBin;
class PanelLocation;
class PanelViewController;

// The file commands of the main window: copy (F5), rename or move (F6), make folder (F7) and
// delete (F8). The source is the active panel when a command starts and the
// target the other panel. Every question and refusal is a retro dialog in the main window. Copy,
// move and delete run as jobs (JobRunner), which ask before replacing anything; making a folder
// and renaming within one folder happen at once. What can be undone is recorded in the history.
class FileOperationCommands : public QObject
{
    Q_OBJECT
public:
    // Works in `context`.
    explicit FileOperationCommands(CommandContext context, QObject* parent = nullptr);
    ~FileOperationCommands() override;

    // Copies the active panel's selection, or extracts it out of an archive, into a folder asked
    // for, the other panel's by default (F5), as a job; clears the marks. Where a server's folder
    // is on either side, the copy goes into the other panel's folder after asking (DoorCopyJob).
    void copyOperation();
    // Renames the one selected item at once, or moves it (as a job) to a path asked for, or moves
    // several selected items into the other panel's folder as a job after asking (F6). Within one
    // server the items are renamed there; between a server and this machine they are copied and
    // each removed at its source once its copy is whole (DoorCopyJob).
    void moveOperation();
    // Makes a folder with a name asked for in the active panel's folder (F7).
    void mkdirOperation();
    // Deletes the active panel's selection, as a job, after asking (F8); on a server's panel the
    // question says the delete is permanent (ServerDelete).
    void deleteOperation();

private:
    void refuse(const QString& title, const QString& text) const;
    std::optional<std::string> askFor(
        const QString& title, const QString& message, const std::string& defaultValue) const;
    void finish(PanelViewController& source, PanelViewController* target) const;
    void startCopy(const PanelLocation& source, const std::vector<FileEntry>& items,
        const std::string& destination) const;
    std::shared_ptr<const TrashBin> trashBin() const;
    // Copies or moves into the other panel's folder through the two places' doors (DoorCopyJob),
    // after asking: what goes to, from or between servers' folders.
    void transferThroughDoors(const PanelLocation& source, const std::vector<FileEntry>& items,
        const PanelLocation& target, DoorCopyJob::Mode mode) const;
    void moveWithServer(PanelViewController& source, PanelViewController& target) const;
    void startRecorded(std::shared_ptr<TransferJob> transfer, OperationRecord::Kind kind) const;
    void moveOneItem(PanelViewController& source, PanelViewController& target, const FileEntry& item) const;
    void renameOrMove(const PanelLocation& sourceFolder, const FileEntry& item, const std::string& answer) const;
    void startChange(std::shared_ptr<ItemChangeJob> change) const;
    void moveItems(
        PanelViewController& source, PanelViewController& target, const std::vector<FileEntry>& items) const;

    CommandContext m_context;
};

} // namespace kiv
