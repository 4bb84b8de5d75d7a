#include "files/TreeCount.h"

#include "files/DirectoryChain.h"
#include "jobs/JobControl.h"

#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <vector>

namespace kiv::TreeCount {

namespace {

void add(DirectoryChain& chain, const DirectoryChain::Child& item, Weigh weigh, JobControl* control, Size& size)
{
    if (control)
        control->throwIfCancelled();
    if (weigh == Weigh::itemsOnly && item.type != DT_DIR && item.type != DT_UNKNOWN) {
        size.items += 1;
        if (control)
            control->addToTotals(1, 0);
        return;
    }
    const std::string& name = item.name;
    struct stat info;
    if (::fstatat(chain.fd(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return;
    const std::int64_t bytes = S_ISREG(info.st_mode) ? info.st_size : 0;
    size.items += 1;
    size.bytes += bytes;
    if (control)
        control->addToTotals(1, bytes);
    if (!S_ISDIR(info.st_mode))
        return;
    std::optional<ChainLevel> level;
    std::vector<DirectoryChain::Child> names;
    try {
        level.emplace(chain, name);
        names = chain.children();
    } catch (const std::system_error&) {
        return; // the work itself will meet the same refusal and ask about it
    }
    for (const DirectoryChain::Child& child : names)
        add(chain, child, weigh, control, size);
}

} // namespace

Size count(DirectoryChain& chain, const std::string& name, JobControl* control, Weigh weigh)
{
    Size size;
    try {
        add(chain, { name, DT_UNKNOWN }, weigh, control, size);
    } catch (const std::system_error&) {
        // A folder on the way could not be opened again: what was counted stands.
    }
    return size;
}

} // namespace kiv::TreeCount
