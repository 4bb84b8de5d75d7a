#pragma once

#include "commands/CommandContext.h"

#include <QObject>
#include <optional>
#include <string>
#include <vector>

namespace kiv {

struct ItemAttributes;

// The commands that change what items are rather than where they are: their attributes (Ctrl+A)
// and a symbolic link to one of them (Ctrl+L). Both run as jobs and go into the undo history;
// places that are not on this computer's disk (an archive, another machine) are refused by name.
class AttributeCommands : public QObject
{
    Q_OBJECT
public:
    // Works in `context`.
    explicit AttributeCommands(CommandContext context, QObject* parent = nullptr);

    // Shows the attributes of the active panel's marked items (or the cursor's) in the attributes
    // dialog, read as a job, and makes the change asked for as a job (Ctrl+A); clears the marks.
    void changeAttributes();
    // Asks for the name of a symbolic link to the item under the active panel's cursor, in the
    // other panel's folder by default, and whether it holds a relative or an absolute path, then
    // makes it as a job (Ctrl+L).
    void makeLink();

private:
    // Asks what to change of the items at `paths`, whose attributes are `items`, and changes it as a job.
    void askAndChange(const std::vector<std::string>& paths, const std::vector<ItemAttributes>& items);
    std::optional<std::vector<std::string>> localPaths(const QString& title) const;
    void refuse(const QString& title, const QString& text) const;

    CommandContext m_context;
};

} // namespace kiv
