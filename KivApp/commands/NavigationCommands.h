#pragma once

#include "commands/CommandContext.h"
#include "panel/FolderHotlist.h"
#include "remote/RemotePlace.h"

#include <QObject>
#include <functional>

namespace kiv {

class CommandLineField;
class PanelViewController;

// Getting around between the panels and the folders: swapping the panels, showing the active
// panel's folder in the other one, the hotlist of folders, going to a typed path, and putting the
// name under the cursor into the command line.
class NavigationCommands : public QObject
{
    Q_OBJECT
public:
    // Works in `context` with the window's `commandLine`, which must outlive this.
    NavigationCommands(CommandContext context, CommandLineField& commandLine, QObject* parent = nullptr);

    // Each panel goes to the other's place, its cursor on the other's cursor row (Ctrl+U).
    void swapPanels();
    // The other panel goes to the active panel's place (Ctrl+=).
    void showActiveFolderInOtherPanel();
    // Opens the hotlist menu: its folders, to go to with the active panel, then adding the active
    // folder or removing it (Ctrl+D); it opens on its first entry.
    void showHotlist();
    // Asks for a path ("~" is home, relative paths start at the active folder) or an sftp:// URL
    // and takes the active panel there; for a file, to its folder with the cursor on it (Ctrl+G).
    void goToFolder();
    // Connects to the server that `url` (sftp://[user@]host[:port][/path]) names as a job, asking
    // about its key and for passwords, then takes `panel` to the folder; a malformed URL is said.
    void connect(PanelViewController& panel, const std::string& url);
    // Asks for a server's host, port, user and folder (ConnectDialog) and connects the active
    // panel there as connect() does (Ctrl+Shift+G, "Commands > Connect to Server...").
    void connectToServer();
    // Inserts the name under the active panel's cursor, quoted for the shell where needed and
    // followed by a blank, into the command line at its cursor (Ctrl+J, Ctrl+Return).
    void putNameInCommandLine();

    // Returns the hotlist, to be kept between runs.
    FolderHotlist& hotlist() { return m_hotlist; }
    // Called after the hotlist changed; may be unset.
    std::function<void()> onHotlistChanged;

private:
    void changeHotlist(bool (FolderHotlist::*change)(const std::string&), const std::string& folder);
    QPoint menuPoint() const;
    void connectTo(PanelViewController& panel, const RemotePlace& place);

    CommandContext m_context;
    CommandLineField& m_commandLine;
    FolderHotlist m_hotlist;
};

} // namespace kiv
