#include "commands/ServerDelete.h"

#include "base/PathString.h"
#include "commands/CommandContext.h"
#include "jobscreen/JobRunner.h"
#include "panels/PanelViewController.h"
#include "remote/SftpDeleteJob.h"
#include "remote/SftpDoor.h"
#include "text/KivFormat.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/ShownText.h"

#include <QStringList>

namespace kiv {

void ServerDelete::offer(const CommandContext& context, PanelViewController& source, const QString& title)
{
    const std::vector<FileEntry> items = source.state().selectionForOperation();
    if (items.empty())
        return;
    const PanelLocation& place = source.state().location();
    QStringList names;
    std::vector<std::string> paths;
    for (const FileEntry& item : items) {
        names << ShownText::of(item.name);
        paths.push_back(PathString::appendingComponent(place.path(), item.name));
    }
    const QString question = QStringLiteral("Delete %1 in %2 permanently?\n%3\n\n"
                                            "A server has no trash: this cannot be undone.")
                                 .arg(QString::fromStdString(KivFormat::selectionCount(items.size())))
                                 .arg(ShownText::of(place.displayPath()), names.join(QStringLiteral(", ")));
    if (!RetroDialogs::confirm(&context.dialogParent, title, question, QStringLiteral("Delete Permanently"),
            ButtonTone::destructive))
        return;
    auto door = std::static_pointer_cast<const SftpDoor>(place.door());
    context.jobs.start(std::make_shared<SftpDeleteJob>(std::move(door), std::move(paths)));
    source.setMarks({});
}

} // namespace kiv
