#pragma once

#include "commands/CommandContext.h"
#include "files/FileStamp.h"
#include "viewer/PanelEditorView.h"

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kiv {

class Door;
class FileLoadJob;
class PanelViewController;
class ViewerLoadJob;

// The view (F3) and edit (F4) commands. The file is read as a job (FileLoadJob) through the door of
// the panel it is shown in, never on the window's thread: where it lies on this machine, or fetched
// into a copy out of an archive or from a server; the viewer window or the other panel's editor
// opens once it is read, and a failure is told as jobs tell theirs. An edited file is saved as a
// job (WriteBackJob) to where it came from; an archive's member is only read.
class ViewEditCommands : public QObject
{
    Q_OBJECT
public:
    // Works in `context`.
    explicit ViewEditCommands(CommandContext context, QObject* parent = nullptr);
    // Closes every viewer window opened by viewOperation().
    ~ViewEditCommands() override;

    // Opens a new viewer window on the file or link under the active panel's cursor (F3); anything
    // else does nothing. A viewer belongs to this object until its window is closed.
    void viewOperation();
    // Opens the file or link under the active panel's cursor in the in-panel editor of the other
    // panel (F4).
    void editOperation();
    // Opens the file of this machine at `path` in the other panel's editor; a file not there yet
    // is made by the first save.
    void editLocalFile(const std::string& path);

private:
    void openViewer(ViewerLoadJob& job);
    // Edits the file at `path` behind `door`; a non-empty `archive` names the archive it is a
    // member of, and the editor only reads it.
    void edit(std::shared_ptr<const Door> door, const std::string& path, const std::string& archive);
    void openEditor(PanelViewController& editing, const FileLoadJob& loaded, const std::string& archive);
    void refuseToEdit(const FileLoadJob& loaded) const;
    // Saves the editor's text to the file at `path` behind `door`, as a job, checking the file
    // against `stamp` (as it was read) first.
    PanelEditorView::SaveBack saveBack(
        std::shared_ptr<const Door> door, const std::string& path, std::optional<FileStamp> stamp);

    CommandContext m_context;
};

} // namespace kiv
