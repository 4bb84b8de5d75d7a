#pragma once

#include "base/FileEntry.h"
#include "panel/PanelLocation.h"

#include <exception>
#include <string>

class QMimeData;

namespace kiv {

class PanelViewController;

// How a file panel reports to its owner. Each call passes the reporting panel first.
class PanelViewControllerDelegate
{
public:
    // Called when the panel's list received the keyboard focus.
    virtual void panelDidBecomeActive(PanelViewController& panel) = 0;
    // Called at the end of every full refresh, whether or not the location changed.
    virtual void panelDidChangeLocation(PanelViewController& panel) = 0;
    // Called when a file of the local disk, or a link there that leads to no folder, was opened;
    // `realPath` is its full path.
    virtual void panelDidOpenFile(PanelViewController& panel, const std::string& realPath) = 0;
    // Called when the panel is to go to the folder on a server that the sftp:// `url` names (from
    // the history, the hotlist or the last run): connecting is the owner's, as a job.
    virtual void panelWantsServer(PanelViewController& panel, const std::string& url) = 0;
    // Called when listing `place` (a folder, or an archive or a folder inside one) failed while
    // reloading, entering a row or going to the parent.
    virtual void panelDidFailWithError(
        PanelViewController& panel, const std::exception& error, const PanelLocation& place)
        = 0;
    // Called when the left button dragged the panel's rows from a row other than "..": the owner
    // offers the panel's items to other programs.
    virtual void panelWantsDrag(PanelViewController& panel) = 0;
    // Called when `data` was dropped on the panel, to be moved when `move` (Shift or the drop's own
    // action) else copied, onto the folder row `folderRow`, or into the panel's folder when that is
    // empty. `data` lasts only for the call.
    virtual void panelDidReceiveDrop(
        PanelViewController& panel, const QMimeData& data, bool move, const std::string& folderRow)
        = 0;

protected:
    ~PanelViewControllerDelegate() = default;
};

} // namespace kiv
