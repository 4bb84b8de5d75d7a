#include "archives/ArchiveMemberPath.h"

namespace kiv::ArchiveMemberPath {

std::string safe(std::string_view stored, bool isFolder)
{
    std::string path;
    path.reserve(stored.size() + 1);
    while (!stored.empty()) {
        const auto slash = stored.find('/');
        const auto step = stored.substr(0, slash);
        stored.remove_prefix(slash == std::string_view::npos ? stored.size() : slash + 1);
        if (step.empty() || step == ".")
            continue;
        if (!path.empty())
            path += '/';
        path += step == ".." ? parentStepName : step;
    }
    if (isFolder && !path.empty())
        path += '/';
    return path;
}

} // namespace kiv::ArchiveMemberPath
