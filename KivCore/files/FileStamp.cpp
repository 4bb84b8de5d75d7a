#include "files/FileStamp.h"

#include "doors/Door.h"

namespace kiv {

std::optional<FileStamp> FileStamp::of(const Door& door, const std::string& path)
{
    const std::optional<ItemInfo> info = door.info(path, Door::Link::followed);
    if (!info)
        return std::nullopt;
    return FileStamp { info->size, info->modified };
}

} // namespace kiv
