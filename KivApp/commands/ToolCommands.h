#pragma once

#include "commands/CommandContext.h"

#include <QObject>
#include <QString>

namespace kiv {

// The main window's other commands: help (F1), quitting (F10 and the window's close button),
// extracting the archive under the cursor into the other panel, packing into a new archive,
// comparing the two panels, the list of jobs, and the About box.
class ToolCommands : public QObject
{
    Q_OBJECT
public:
    // Works in `context`.
    explicit ToolCommands(CommandContext context, QObject* parent = nullptr);

    // Shows the help dialog (F1).
    void showHelp();
    // Shows the About box.
    void showAbout();
    // Asks "Quit Tavrin?" and ends the program on yes (F10).
    void quit();
    // Asks "Quit Tavrin?" on behalf of the window's close button, or, while jobs run, whether to
    // cancel them and quit (cancelling them on yes); returns the answer.
    bool confirmQuit();
    // Extracts the whole archive under the active panel's cursor into the other panel's folder,
    // as a job.
    void extractArchive();
    // Packs the marked items (or the one under the cursor) of the active panel into a new archive
    // in the other panel's folder, asking for its name, as a job; the format follows the name's
    // suffix (Alt+F5).
    void pack();
    // Shows the jobs running and waiting (Ctrl+J).
    void showJobs();
    // Marks the names that differ between the two panels, as they are on disk now, and says how many.
    void compare();

private:
    void tellAboutExtraction(const QString& text);
    void tellAboutPacking(const QString& text);

    CommandContext m_context;
};

} // namespace kiv
