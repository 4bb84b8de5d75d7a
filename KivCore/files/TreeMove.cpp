#include "files/TreeMove.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "base/PathString.h"
#include "base/PlatformCalls.h"
#include "files/DirectoryChain.h"
#include "files/FreeName.h"
#include "files/ItemFacts.h"
#include "files/TransferSession.h"
#include "files/TrashSwap.h"
#include "files/TreeCopy.h"
#include "jobs/JobControl.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kiv::TreeMove {

namespace {

class Mover
{
public:
    Mover(TransferSession& session, DirectoryChain& from, DirectoryChain& to)
        : m_session(session)
        , m_from(from)
        , m_to(to)
    {
    }

    bool moveEntry(const std::string& name, const std::string& targetName, Counting counting)
    {
        m_session.control.throwIfCancelled();
        const std::string sourcePath = m_from.pathOf(name);
        struct stat info;
        struct stat folder;
        if (!m_session.failures.attempt(
                [&] {
                    info = ItemFacts::statAt(m_from.fd(), name, sourcePath);
                    if (::fstat(m_to.fd(), &folder) != 0)
                        throwSystemError(errno, m_to.path());
                },
                sourcePath))
            return false;
        if (info.st_dev != folder.st_dev)
            return TreeCopy::copy(m_session, m_from, name, m_to, targetName, TreeCopy::Source::remove);
        m_session.control.beginItem(sourcePath, 0);
        const std::optional<bool> moved = moveOnDevice(name, info, targetName);
        if (!moved) // a rename the system refuses across mount points of one file system
            return TreeCopy::copy(m_session, m_from, name, m_to, targetName, TreeCopy::Source::remove);
        if (counting == Counting::asOne) {
            m_session.control.finishItems(1, 0);
            m_session.done += *moved ? 1 : 0;
        }
        return *moved;
    }

private:
    // Whether the item moved; nothing when only a copy can move it.
    std::optional<bool> moveOnDevice(
        const std::string& name, const struct stat& info, const std::string& targetName)
    {
        struct stat existing;
        if (::fstatat(m_to.fd(), targetName.c_str(), &existing, AT_SYMLINK_NOFOLLOW) != 0)
            return renameNoted(name, targetName, Replace::no);
        // An item moved to where it already is (the target folder reached by another path) stays
        // as it is, without a question that offers to replace it by itself.
        if (info.st_dev == existing.st_dev && info.st_ino == existing.st_ino) {
            ++m_session.skipped;
            return false;
        }
        if (S_ISDIR(info.st_mode) && S_ISDIR(existing.st_mode))
            return merge(name, targetName);
        const auto resolution = m_session.conflicts.resolve(
            ItemFacts::of(m_from.pathOf(name), info), ItemFacts::of(m_to.pathOf(targetName), existing));
        if (resolution == ConflictAnswers::Resolution::keepBoth)
            return renameNoted(
                name, FreeName::numbered(m_to.fd(), targetName, S_ISDIR(info.st_mode)), Replace::no);
        if (resolution == ConflictAnswers::Resolution::skip) {
            ++m_session.skipped;
            return false;
        }
        if (S_ISDIR(info.st_mode) != S_ISDIR(existing.st_mode))
            return replaceAcrossKinds(name, targetName, existing);
        return renameNoted(name, targetName, Replace::yes);
    }

    enum class Replace
    {
        no,
        yes, // a file over a file, in one step
    };

    // Renames the item into the target folder and notes it in the report once it is there.
    std::optional<bool> renameNoted(const std::string& name, const std::string& targetName, Replace replace)
    {
        const std::optional<bool> moved = renameStep(name, targetName, replace);
        if (moved && *moved)
            m_session.report.addMoved(m_from.pathOf(name), m_to.pathOf(targetName));
        return moved;
    }

    std::optional<bool> renameStep(const std::string& name, const std::string& targetName, Replace replace)
    {
        bool crossesDevices = false;
        const bool moved = m_session.failures.attempt(
            [&] {
                const int result = replace == Replace::yes
                    ? ::renameat(m_from.fd(), name.c_str(), m_to.fd(), targetName.c_str())
                    : PlatformCalls::renameExclusiveAt(
                        m_from.fd(), name.c_str(), m_to.fd(), targetName.c_str());
                crossesDevices = result != 0 && errno == EXDEV;
                if (result != 0 && !crossesDevices)
                    throwSystemError(errno, m_to.pathOf(targetName));
            },
            m_from.pathOf(name));
        if (crossesDevices)
            return std::nullopt;
        return moved;
    }

    // A folder onto a folder: each item inside moves in turn; the emptied source folder goes.
    bool merge(const std::string& name, const std::string& targetName)
    {
        std::optional<ChainLevel> fromLevel;
        std::optional<ChainLevel> toLevel;
        std::vector<DirectoryChain::Child> names;
        if (!m_session.failures.attempt(
                [&] {
                    fromLevel.emplace(m_from, name);
                    names = m_from.children();
                    toLevel.emplace(m_to, targetName);
                },
                m_from.pathOf(name)))
            return false;
        bool allGone = true;
        for (const DirectoryChain::Child& child : names)
            allGone = moveEntry(child.name, child.name, Counting::none) && allGone;
        toLevel.reset();
        fromLevel.reset();
        const bool removed = allGone
            && m_session.failures.attempt(
                [&] {
                    if (::unlinkat(m_from.fd(), name.c_str(), AT_REMOVEDIR) != 0)
                        throwSystemError(errno, m_from.pathOf(name));
                },
                m_from.pathOf(name));
        if (removed)
            m_session.report.addEmptied(m_from.pathOf(name));
        return removed;
    }

    // A folder replaces a file or a file a folder, as the user chose: the old item goes to the
    // trash, then the new one is renamed into its name (the old one comes back when that fails).
    bool replaceAcrossKinds(
        const std::string& name, const std::string& targetName, const struct stat& existing)
    {
        const std::string sourcePath = m_from.pathOf(name);
        const std::string targetPath = m_to.pathOf(targetName);
        TrashedItem trashed;
        const bool moved = m_session.failures.attempt(
            [&] {
                if (S_ISDIR(existing.st_mode)
                    && PathString::isSameOrInside(
                        ItemFacts::resolved(sourcePath), ItemFacts::resolved(targetPath)))
                    throw KivError::operationFailed(
                        "Cannot replace the folder " + targetPath + " with an item inside it.");
                trashed = TrashSwap::replace(m_session.trash, targetPath, S_ISDIR(existing.st_mode), [&] {
                    return PlatformCalls::renameExclusiveAt(
                        m_from.fd(), name.c_str(), m_to.fd(), targetName.c_str());
                });
            },
            sourcePath);
        if (moved)
            m_session.report.addMoved(sourcePath, targetPath, trashed);
        return moved;
    }

    TransferSession& m_session;
    DirectoryChain& m_from;
    DirectoryChain& m_to;
};

} // namespace

bool move(TransferSession& session, DirectoryChain& from, const std::string& name, DirectoryChain& to,
    const std::string& targetName, Counting counting)
{
    return Mover(session, from, to).moveEntry(name, targetName, counting);
}

bool isRename(const std::string& path, const std::string& toFolder)
{
    struct stat item;
    struct stat folder;
    return ::lstat(path.c_str(), &item) == 0 && ::stat(toFolder.c_str(), &folder) == 0
        && item.st_dev == folder.st_dev;
}

} // namespace kiv::TreeMove
