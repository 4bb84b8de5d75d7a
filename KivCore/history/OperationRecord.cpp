#include "history/OperationRecord.h"

#include "base/PathString.h"
#include "doors/Door.h"

namespace kiv {

OperationRecord::Kind OperationRecord::Step::kindIn(Kind kind) const
{
    if (kind != Kind::synchronize)
        return kind;
    return trashed ? Kind::moveToTrash : Kind::copy;
}

void OperationRecord::addRenamed(std::string from, std::string to)
{
    steps.push_back({ std::move(from), std::move(to), {}, {} });
}

void OperationRecord::addMoved(std::string from, std::string to, TrashedItem replaced)
{
    TreeSnapshot now;
    try {
        now = snapshotOf(to);
    } catch (const std::exception&) {
        // A folder inside that cannot be read: the item still goes back, checked for presence only.
    }
    steps.push_back({ std::move(from), std::move(to), {}, std::move(now), {}, {}, false, std::move(replaced) });
}

void OperationRecord::addEmptied(std::string from)
{
    steps.push_back({ std::move(from), {}, {}, {} });
}

void OperationRecord::addMade(std::string from, std::string to, TrashedItem replaced)
{
    TreeSnapshot made = snapshotOf(to);
    steps.push_back({ std::move(from), std::move(to), {}, std::move(made), {}, {}, false, std::move(replaced) });
}

void OperationRecord::addAttributes(
    std::string path, const ItemAttributes& before, const ItemAttributes& after)
{
    steps.push_back({ std::move(path), {}, {}, {}, before, after });
}

void OperationRecord::addTrashed(const TrashedItem& item)
{
    steps.push_back({ item.originalPath, item.trashedPath, item.infoPath, {}, {}, {}, true });
}

OperationRecord OperationRecord::taken()
{
    OperationRecord record { kind, {}, place };
    std::swap(record, *this);
    return record;
}

TreeSnapshot OperationRecord::snapshotOf(const std::string& path) const
{
    return place ? TreeSnapshot::of(*place, path) : TreeSnapshot::of(path);
}

std::string OperationRecord::description() const
{
    const Step& first = steps.front();
    if ((kind == Kind::makeFolder || kind == Kind::pack || kind == Kind::link) && steps.size() == 1) {
        const char* what = kind == Kind::pack ? "new archive \""
            : kind == Kind::link              ? "new link \""
                                              : "new folder \"";
        return what + PathString::lastComponent(first.to) + "\"";
    }
    static constexpr const char* names[] = { "rename", "move", "copy", "new folder", "move to trash",
        "extraction", "packing", "attribute change", "new link", "synchronization" };
    const std::string name = names[static_cast<int>(kind)];
    if (steps.size() != 1)
        return name + " of " + std::to_string(steps.size()) + " items";
    // What came out of an archive has no source of its own to name.
    return name + " of \"" + PathString::lastComponent(kind == Kind::extract ? first.to : first.from) + "\"";
}

} // namespace kiv
