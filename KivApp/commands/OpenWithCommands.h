#pragma once

#include "commands/CommandContext.h"
#include "toolkit/DesktopApplications.h"

#include <QObject>
#include <string>
#include <vector>

namespace kiv {

class PanelViewController;

// Opening a file with an application other than its default one, chosen from those the desktop's
// own database knows for the file's type.
class OpenWithCommands : public QObject
{
    Q_OBJECT
public:
    // Works in `context`.
    explicit OpenWithCommands(CommandContext context, QObject* parent = nullptr);

    // Lists, in a menu, the applications for the file under `panel`'s cursor, the user's default
    // first, and opens the file with the one chosen; says so when there is no file of this
    // machine there, or no application for it. The desktop's database is asked, and the
    // application started, as jobs (DesktopApplicationJob).
    void chooseApplication(PanelViewController& panel);

private:
    void offer(const std::vector<DesktopApplications::Application>& applications, const std::string& name,
        const std::string& path);
    void launch(const std::string& id, const std::string& path);
    void refuse(const QString& text) const;

    CommandContext m_context;
};

} // namespace kiv
