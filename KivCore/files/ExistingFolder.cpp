#include "files/ExistingFolder.h"

#include "base/PathString.h"

#include <sys/stat.h>

namespace kiv::ExistingFolder {

std::string nearest(const std::string& path)
{
    std::string folder = path;
    struct stat status = {};
    while (folder != "/" && (::stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)))
        folder = PathString::parentOrRoot(folder);
    return folder;
}

} // namespace kiv::ExistingFolder
