#pragma once

#include "commands/CommandContext.h"

#include <QObject>
#include <QString>
#include <functional>

namespace kiv {

class CommandTable;

// The main window's other commands: help (F1), quitting (F10, the window's close button, Ctrl+Q),
// extracting the archive under the cursor into the other panel, packing into a new archive,
// comparing the two panels, the list of jobs, and the About box.
class ToolCommands : public QObject
{
    Q_OBJECT
public:
    // Works in `context`.
    explicit ToolCommands(CommandContext context, QObject* parent = nullptr);

    // Shows the help dialog (F1): the keys of `table`, laid out no wider than the window.
    void showHelp(const CommandTable& table);
    // Shows the About box.
    void showAbout();
    // Asks about each in-panel editor with unsaved changes, then "Quit Tavrin?" (or, while jobs
    // run, whether to cancel them and quit), and on yes ends the program whatever other windows
    // are open (F10, the window's close button); returns whether it ends. An editor answered
    // "Save" is saved as a job, and the quit goes on once it is written.
    bool quit();
    // Ends the program once each in-panel editor with unsaved changes has been answered with
    // "Discard" or "Save" and running jobs may be cancelled, without the quit question (Ctrl+Q).
    void quitAtOnce();
    // Extracts the whole archive under the active panel's cursor into the other panel's folder,
    // as a job.
    void extractArchive();
    // Packs the marked items (or the one under the cursor) of the active panel into a new archive
    // in the other panel's folder, asking for its name, as a job; the format follows the name's
    // suffix (Alt+F5).
    void pack();
    // Shows the jobs running and waiting (Ctrl+Shift+J).
    void showJobs();
    // Marks the names that differ between the two panels, as they are on disk now, and says how many.
    void compare();

private:
    bool confirmLeavingEditors(const std::function<void()>& goOn);
    void tellAboutExtraction(const QString& text);
    void tellAboutPacking(const QString& text);
    void markDifferences();

    CommandContext m_context;
};

} // namespace kiv
