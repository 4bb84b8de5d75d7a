#include "commands/TypedPath.h"

#include "files/PathString.h"

namespace kiv::TypedPath {

std::string bytes(const QString& answer, const QString& shown, const std::string& shownBytes)
{
    return answer == shown ? shownBytes : answer.toStdString();
}

QString shown(const std::string& path)
{
    return QString::fromStdString(path);
}

std::string absolute(const std::string& typed, const std::string& baseFolder, const std::string& home)
{
    if (typed == "~")
        return home;
    if (typed.starts_with("~/"))
        return PathString::appendingComponent(home, typed.substr(2));
    if (typed.starts_with('/'))
        return typed;
    return PathString::appendingComponent(baseFolder, typed);
}

} // namespace kiv::TypedPath
