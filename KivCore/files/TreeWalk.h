#pragma once

#include <functional>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace kiv {

class JobControl;

// Visits every item below a folder, depth first, straight on descriptors (one readdir per folder,
// a stat only where asked or where the folder does not tell the kind). Links are never followed
// and a folder already on the way down (the same device and inode, as a bind mount can make) is
// not entered again, so no tree leads round in a loop. A folder that cannot be opened or read is
// reported and the walk goes on beside it.
class TreeWalk
{
public:
    // How much the walk learns of each item.
    enum class Detail
    {
        kind, // only whether it is a folder: enough to match names
        status, // the item's whole stat record
    };

    // One item met on the walk; valid during the call that receives it.
    struct Item
    {
        const std::string& folder; // the path of the folder holding it
        int folderFd; // that folder's descriptor, for the *at() calls
        const char* name;
        bool isFolder;
        bool isRegularFile;
        const struct stat* status; // null unless Detail::status
    };

    using Visit = std::function<void(const Item& item)>;
    // Hears of a folder that could not be read: its path and the text for the user.
    using Refusal = std::function<void(const std::string& path, const std::string& why)>;

    // Walks with `detail`, calling `visit` for each item and `refused` for each unreadable folder;
    // checks `control` (may be null) for cancellation at every item.
    TreeWalk(Detail detail, Visit visit, Refusal refused, const JobControl* control);

    // Walks the tree below the folder `root` (the root itself is not visited; a link naming the
    // root is followed, as the user chose it). Throws JobCancelled once the job is cancelled.
    void walk(const std::string& root);

private:
    void walkFolder(int fd, std::string& path);
    void walkEntries(int fd, std::string& path);
    void refuse(const std::string& path, int error);

    Detail m_detail;
    Visit m_visit;
    Refusal m_refused;
    const JobControl* m_control;
    std::vector<std::pair<dev_t, ino_t>> m_way; // the folders from the root down to the current one
};

} // namespace kiv
