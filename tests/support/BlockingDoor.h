#pragma once

#include "files/FileSystemService.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace kiv::test {

// The local disk behind a door whose listings, facts of items, new folders and renames hang, deaf
// to cancelling, until the test releases them: a folder on a dead network mount. Unreleased, they
// go on after 5 s, so that code that waits for them fails its test instead of hanging it.
class BlockingDoor : public FileSystemService
{
public:
    std::vector<FileEntry> list(const std::string& folder, HiddenFiles hiddenFiles, ListingOrder order,
        JobControl* control) const override
    {
        hang();
        return FileSystemService::list(folder, hiddenFiles, order, control);
    }
    std::optional<ItemInfo> info(const std::string& path, Link link) const override
    {
        hang();
        return FileSystemService::info(path, link);
    }
    void makeFolder(const std::string& path) const override
    {
        hang();
        FileSystemService::makeFolder(path);
    }
    void rename(const std::string& from, const std::string& to) const override
    {
        hang();
        FileSystemService::rename(from, to);
    }

    mutable std::atomic<int> waiting { 0 }; // calls hanging now
    std::atomic<bool> released { false };

private:
    void hang() const
    {
        ++waiting;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!released && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        --waiting;
    }
};

} // namespace kiv::test
