#include "files/TransferCheck.h"

#include "base/PathString.h"

namespace kiv::TransferCheck {

std::optional<std::string> refusal(
    const std::vector<std::string>& sources, const std::string& targetFolder, const std::string& verb)
{
    const std::string target = PathString::standardizing(targetFolder);
    for (const std::string& path : sources) {
        const std::string source = PathString::standardizing(path);
        if (PathString::isSameOrInside(target, source))
            return "Cannot " + verb + " the folder " + source
                + " into itself or into one of its own subfolders.";
        if (PathString::parentOrRoot(source) == target)
            return PathString::lastComponent(source) + " is already in " + target + ".";
    }
    return std::nullopt;
}

} // namespace kiv::TransferCheck
