#pragma once

#include "text/FileUriList.h"

#include <QString>
#include <optional>
#include <string>
#include <vector>

class QMimeData;

namespace kiv {

class PanelLocation;
class PanelViewController;

// Files handed between Tavrin and other programs as MIME data (the clipboard, drag and drop): the
// forms desktop file managers read and write, and which of a panel's items they can name at all.
class DesktopFiles
{
public:
    // The type of a list of URIs, the one form every program reads.
    static const QString uriListType;
    // The type of a list that says "copy" or "cut" ahead of its URIs.
    static const QString copiedFilesType;
    // Another desktop's word for a cut beside a plain uri-list: "1".
    static const QString cutSelectionType;

    // Returns new MIME data, owned by the caller, offering the absolute `paths` as a uri-list.
    static QMimeData* offering(const std::vector<std::string>& paths);
    // Sets `type` in `data` to the bytes of `text`.
    static void put(QMimeData& data, const QString& type, const std::string& text);
    // Returns the files `data` names, read from the richest of its forms.
    static FileUriList::Files filesOn(const QMimeData& data);

    // Returns the paths of `panel`'s marked items, or the one under its cursor, or nothing when
    // one of them is no file of this machine (inside an archive, on a server).
    static std::optional<std::vector<std::string>> localSelection(const PanelViewController& panel);
    // Returns the folder of this machine `location` shows, or nothing inside an archive, a found
    // list or a server's folder.
    static std::optional<std::string> localFolder(const PanelLocation& location);
};

} // namespace kiv
