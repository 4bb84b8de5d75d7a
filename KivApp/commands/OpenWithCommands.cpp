#include "commands/OpenWithCommands.h"

#include "base/PathString.h"
#include "doors/Door.h"
#include "jobscreen/JobRunner.h"
#include "panel/PanelLocation.h"
#include "panels/PanelViewController.h"
#include "toolkit/DesktopApplicationJob.h"
#include "toolkit/RetroDialogs.h"
#include "toolkit/RetroMenu.h"
#include "toolkit/ShownText.h"
#include "toolkit/Weakly.h"

#include <QWidget>

namespace kiv {

OpenWithCommands::OpenWithCommands(CommandContext context, QObject* parent)
    : QObject(parent)
    , m_context(context)
{
}

void OpenWithCommands::chooseApplication(PanelViewController& panel)
{
    const std::optional<FileEntry> entry = panel.selectedEntry();
    if (!entry || entry->kind == FileEntry::Kind::parentDirectory)
        return;
    const std::optional<std::string> path = panel.state().location().door()->localPath(entry->id);
    if (!path || entry->kind != FileEntry::Kind::regularFile) {
        refuse(QStringLiteral("Open with works on a file of this machine; copy it here first (F5)."));
        return;
    }
    m_context.jobs.readBeside<DesktopApplicationJob>(DesktopApplicationJob::finding(entry->name),
        weakly(this, [name = entry->name, file = *path](OpenWithCommands& self, DesktopApplicationJob& found) {
            self.offer(found.applications(), name, file);
        }));
}

void OpenWithCommands::offer(const std::vector<DesktopApplications::Application>& applications,
    const std::string& name, const std::string& path)
{
    if (applications.empty()) {
        refuse(QStringLiteral("The desktop knows no application for ") + ShownText::of(name) + QLatin1Char('.'));
        return;
    }
    std::vector<RetroMenuItem> items;
    for (const DesktopApplications::Application& application : applications)
        items.push_back(RetroMenuItem::item(QString::fromStdString(application.name),
            weakly(this, [id = application.id, file = path](OpenWithCommands& self) { self.launch(id, file); })));
    QWidget& window = m_context.dialogParent;
    RetroMenu::popUp(std::move(items), QPoint(window.width() / 4, window.height() / 4), &window);
}

void OpenWithCommands::launch(const std::string& id, const std::string& path)
{
    m_context.jobs.readBeside<DesktopApplicationJob>(DesktopApplicationJob::launching(id, path),
        weakly(this, [path](OpenWithCommands& self, DesktopApplicationJob& launched) {
            if (launched.problem())
                self.refuse(QStringLiteral("Can't open ") + ShownText::of(PathString::lastComponent(path))
                    + QStringLiteral(": ") + QString::fromStdString(*launched.problem()));
        }));
}

void OpenWithCommands::refuse(const QString& text) const
{
    RetroDialogs::message(&m_context.dialogParent, QStringLiteral("Open With"), text);
}

} // namespace kiv
