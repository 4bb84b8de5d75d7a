#include "files/TemporaryCopy.h"

#include "base/Uuid.h"
#include "files/DiskItem.h"

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <optional>
#include <signal.h>
#include <string_view>
#include <unistd.h>

namespace kiv::TemporaryCopy {

namespace {

constexpr std::string_view folderPrefix = "kiv-mac-";
constexpr std::size_t uuidLength = 36;

// The id of the process that made the copy folder `name`, or nothing for any other name (folders
// of earlier versions, without an id, are left alone: nothing tells whether they are in use).
std::optional<pid_t> ownerOf(std::string_view name)
{
    if (!name.starts_with(folderPrefix))
        return std::nullopt;
    name.remove_prefix(folderPrefix.size());
    const std::size_t dash = name.find('-');
    if (dash == std::string_view::npos || name.size() - dash - 1 != uuidLength)
        return std::nullopt;
    pid_t owner = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + dash, owner);
    if (error != std::errc() || end != name.data() + dash || owner <= 0)
        return std::nullopt;
    return owner;
}

// A process of another user still counts: the system refuses to signal it, but it is there.
bool isRunning(pid_t process)
{
    return ::kill(process, 0) == 0 || errno == EPERM;
}

} // namespace

std::string newFolder()
{
    return (std::filesystem::temp_directory_path()
        / (std::string(folderPrefix) + std::to_string(::getpid()) + "-" + Uuid::randomString()))
        .string();
}

void removeUnused()
{
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    std::filesystem::directory_iterator item(temporary, error);
    for (; !error && item != std::filesystem::directory_iterator(); item.increment(error)) {
        const std::optional<pid_t> owner = ownerOf(item->path().filename().string());
        std::error_code ignored; // a folder that will not go is left; the others still go
        if (owner && (*owner == ::getpid() || !isRunning(*owner)) && DiskItem::isRealFolder(item->path()))
            std::filesystem::remove_all(item->path(), ignored);
    }
}

} // namespace kiv::TemporaryCopy
