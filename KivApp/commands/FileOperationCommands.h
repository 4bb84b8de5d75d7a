#pragma once

#include "commands/CommandContext.h"
#include "files/FileEntry.h"
#include "files/TransferJob.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kiv {

class PanelLocation;
struct OperationRecord;
class PanelViewController;
class ViewerWindowController;

// The file commands of the main window: view (F3), edit (F4), copy (F5), rename or move (F6),
// make folder (F7) and delete (F8). The source is the active panel when a command starts and the
// target the other panel. Every question and refusal is a retro dialog in the main window; a
// failing item is reported in the "Error" dialog and the rest go on. Nothing existing is ever
// replaced. What copy, move and make folder did is recorded in the history, for undo.
class FileOperationCommands : public QObject
{
    Q_OBJECT
public:
    // Works in `context`.
    explicit FileOperationCommands(CommandContext context, QObject* parent = nullptr);
    // Closes every viewer window opened by viewOperation().
    ~FileOperationCommands() override;

    // Opens a new viewer window on the file or link under the active panel's cursor (F3); an
    // archive member is viewed as a freshly extracted copy (ArchiveMemberCopy), and a failed
    // extraction is shown in the "Error" dialog. Anything else does nothing. Every viewer stays
    // open, owned by this object.
    void viewOperation();
    // Opens the file or link under the active panel's cursor in the in-panel editor of the other
    // panel (F4); an archive member is edited as an extracted copy, never in the archive.
    void editOperation();
    // Copies the active panel's selection, or extracts it out of an archive, into a folder asked
    // for, the other panel's by default (F5); then clears the marks and relists both panels.
    void copyOperation();
    // Renames or moves the one selected item to a name or path asked for, or moves several
    // selected items into the other panel's folder after asking (F6).
    void moveOperation();
    // Makes a folder with a name asked for in the active panel's folder (F7).
    void mkdirOperation();
    // Deletes the active panel's selection after asking (F8).
    void deleteOperation();

private:
    void refuse(const QString& title, const QString& text) const;
    std::optional<std::string> askFor(
        const QString& title, const QString& message, const std::string& defaultValue) const;
    void forEachItem(
        const std::vector<FileEntry>& items, const std::function<void(const FileEntry&)>& action) const;
    void finish(PanelViewController& source, PanelViewController* target) const;
    std::optional<std::string> realPathUnderCursor() const;
    void copyItem(const PanelLocation& source, const FileEntry& item, const std::string& destination,
        OperationRecord& record) const;
    void moveOneItem(PanelViewController& source, PanelViewController& target, const FileEntry& item) const;
    bool transfer(TransferJob::Mode mode, const std::string& from, const std::string& folder,
        const std::string& name) const;
    OperationRecord renameOrMove(
        const std::string& sourceFolder, const FileEntry& item, const std::string& answer) const;
    void moveItems(
        PanelViewController& source, PanelViewController& target, const std::vector<FileEntry>& items) const;

    CommandContext m_context;
    std::vector<std::unique_ptr<ViewerWindowController>> m_viewerWindows;
};

} // namespace kiv
