#include "commands/DesktopFiles.h"

#include "base/PathString.h"
#include "doors/Door.h"
#include "panel/PanelLocation.h"
#include "panels/PanelViewController.h"

#include <QMimeData>

namespace kiv {

namespace {

std::string_view view(const QByteArray& data)
{
    return { data.constData(), std::size_t(data.size()) };
}

} // namespace

const QString DesktopFiles::uriListType = QStringLiteral("text/uri-list");
const QString DesktopFiles::copiedFilesType = QStringLiteral("x-special/gnome-copied-files");
const QString DesktopFiles::cutSelectionType = QStringLiteral("application/x-kde-cutselection");

QMimeData* DesktopFiles::offering(const std::vector<std::string>& paths)
{
    auto* data = new QMimeData;
    put(*data, uriListType, FileUriList::uriList(paths));
    return data;
}

void DesktopFiles::put(QMimeData& data, const QString& type, const std::string& text)
{
    data.setData(type, QByteArray(text.data(), qsizetype(text.size())));
}

FileUriList::Files DesktopFiles::filesOn(const QMimeData& data)
{
    if (data.hasFormat(copiedFilesType))
        if (auto files = FileUriList::fromCopiedFiles(view(data.data(copiedFilesType))))
            return *files;
    FileUriList::Files files = FileUriList::fromUriList(view(data.data(uriListType)));
    files.cut = data.data(cutSelectionType).startsWith('1');
    return files;
}

std::optional<std::vector<std::string>> DesktopFiles::localSelection(const PanelViewController& panel)
{
    const PanelLocation& location = panel.state().location();
    std::vector<std::string> paths;
    for (const FileEntry& item : panel.state().selectionForOperation()) {
        const std::optional<std::string> path = location.isArchive()
            ? std::nullopt
            : location.door()->localPath(PathString::appendingComponent(location.path(), item.name));
        if (!path)
            return std::nullopt;
        paths.push_back(*path);
    }
    return paths;
}

std::optional<std::string> DesktopFiles::localFolder(const PanelLocation& location)
{
    if (location.kind() != PanelLocation::Kind::filesystem)
        return std::nullopt;
    return location.door()->localPath(location.folder());
}

} // namespace kiv
