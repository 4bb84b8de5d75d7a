#include "doors/ItemInfo.h"

namespace kiv {

namespace {

FileEntry::Kind kindOf(ItemInfo::Type type, const std::string& name)
{
    switch (type) {
    case ItemInfo::Type::folder:
        return FileEntry::Kind::directory;
    case ItemInfo::Type::link:
        return FileEntry::Kind::symlink;
    case ItemInfo::Type::file:
        return FileEntry::kindForRegularFile(name);
    case ItemInfo::Type::other:
        break;
    }
    // A pipe or device is never read as an archive, whatever its name: reading it may block.
    return FileEntry::Kind::regularFile;
}

std::string permissionText(ItemInfo::Type type, std::uint32_t bits)
{
    static constexpr char letters[] = "rwxrwxrwx";
    std::string text(10, '-');
    text[0] = type == ItemInfo::Type::folder ? 'd' : '-';
    for (int bit = 0; bit < 9; ++bit) {
        if (bits & (0400u >> bit))
            text[static_cast<std::size_t>(bit) + 1] = letters[bit];
    }
    return text;
}

} // namespace

FileEntry ItemInfo::row(std::string id, std::string name) const
{
    FileEntry entry;
    entry.kind = kindOf(type, name);
    entry.id = std::move(id);
    entry.name = std::move(name);
    entry.size = type == Type::folder ? 0 : size;
    entry.modificationDate = modified;
    if (permissions)
        entry.permissions = permissionText(type, *permissions);
    return entry;
}

} // namespace kiv
