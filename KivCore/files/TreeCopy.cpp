#include "files/TreeCopy.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "base/PathString.h"
#include "base/PlatformCalls.h"
#include "base/UniqueFd.h"
#include "files/DirectoryChain.h"
#include "files/FileBytes.h"
#include "files/FreeName.h"
#include "files/ItemFacts.h"
#include "files/TransferSession.h"
#include "files/TrashSwap.h"
#include "files/TreeCount.h"
#include "files/TreeRemoval.h"
#include "jobs/JobControl.h"

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kiv::TreeCopy {

namespace {

class Copier
{
public:
    // `report` is null for a copy made under a temporary name, which is no item of its own.
    Copier(TransferSession& session, DirectoryChain& from, DirectoryChain& to, Source source,
        TransferReport* report)
        : m_session(session)
        , m_control(session.control)
        , m_from(from)
        , m_to(to)
        , m_source(source)
        , m_report(report)
    {
    }

    bool copyEntry(const std::string& name, const std::string& targetName)
    {
        m_control.throwIfCancelled();
        const std::string sourcePath = m_from.pathOf(name);
        struct stat info;
        if (!m_session.failures.attempt(
                [&] { info = ItemFacts::statAt(m_from.fd(), name, sourcePath); }, sourcePath))
            return false;
        struct stat existing;
        if (::fstatat(m_to.fd(), targetName.c_str(), &existing, AT_SYMLINK_NOFOLLOW) != 0)
            return copyFresh(name, info, targetName);
        if (S_ISDIR(info.st_mode) && S_ISDIR(existing.st_mode))
            return copyFolder(name, info, targetName, Folder::merge);
        const auto resolution = m_session.conflicts.resolve(
            ItemFacts::of(sourcePath, info), ItemFacts::of(m_to.pathOf(targetName), existing));
        const bool itself = info.st_dev == existing.st_dev && info.st_ino == existing.st_ino;
        if (resolution == ConflictAnswers::Resolution::keepBoth)
            return copyFresh(name, info, FreeName::numbered(m_to.fd(), targetName, S_ISDIR(info.st_mode)));
        if (resolution == ConflictAnswers::Resolution::skip || itself) {
            skip(name, info);
            return false;
        }
        if (S_ISDIR(info.st_mode) != S_ISDIR(existing.st_mode))
            return replaceAcrossKinds(name, info, targetName, existing);
        return replace(name, info, targetName);
    }

private:
    enum class Folder
    {
        create,
        merge,
    };

    // Counts an item left alone for its taken name, and everything below it, as skipped.
    void skip(const std::string& name, const struct stat& info) { m_session.skipped += leave(name, info); }

    // Counts an item and everything below it as dealt with, without copying it; returns how many
    // items that is. A failure that left it was counted when the user skipped it.
    std::int64_t leave(const std::string& name, const struct stat& info)
    {
        if (!S_ISDIR(info.st_mode)) {
            m_control.finishItems(1, S_ISREG(info.st_mode) ? info.st_size : 0);
            return 1;
        }
        const auto size = TreeCount::count(m_from, name, nullptr);
        m_control.finishItems(size.items, size.bytes);
        return size.items;
    }

    bool copyFresh(const std::string& name, const struct stat& info, const std::string& targetName)
    {
        if (S_ISDIR(info.st_mode))
            return copyFolder(name, info, targetName, Folder::create);
        const std::string sourcePath = m_from.pathOf(name);
        if (!m_session.failures.attempt([&] { makeItem(name, info, targetName); }, sourcePath)) {
            m_control.finishItems(1, S_ISREG(info.st_mode) ? info.st_size : 0);
            return false;
        }
        noteMade(name, targetName);
        return noteMoved(name, targetName, finishCopied(name, info, targetName));
    }

    // A copy notes each item it made anew, a folder as soon as it is there.
    void noteMade(const std::string& name, const std::string& targetName, const TrashedItem& replaced = {})
    {
        if (m_report && m_source == Source::keep)
            m_report->addMade(m_from.pathOf(name), m_to.pathOf(targetName), replaced);
    }

    // A move notes each item made anew whose source is gone; returns `gone`.
    bool noteMoved(
        const std::string& name, const std::string& targetName, bool gone, const TrashedItem& replaced = {})
    {
        if (m_report && gone)
            m_report->addMoved(m_from.pathOf(name), m_to.pathOf(targetName), replaced);
        return gone;
    }

    // Counts an item whose copy is complete, removing its source first when this is a move: a
    // move whose source stays is not done, whatever the copy is.
    bool finishCopied(const std::string& name, const struct stat& info, const std::string& targetName)
    {
        const bool gone = removeSource(name, info, targetName);
        if (gone || m_source == Source::keep)
            ++m_session.done;
        m_control.finishItems(1, 0);
        return gone;
    }

    bool copyFolder(
        const std::string& name, const struct stat& info, const std::string& targetName, Folder how)
    {
        const std::string sourcePath = m_from.pathOf(name);
        const std::string targetPath = m_to.pathOf(targetName);
        if (how == Folder::create
            && !m_session.failures.attempt([&] { makeFolder(targetName, targetPath); }, targetPath)) {
            leave(name, info);
            return false;
        }
        if (how == Folder::create)
            noteMade(name, targetName);
        std::optional<ChainLevel> fromLevel;
        std::optional<ChainLevel> toLevel;
        std::vector<DirectoryChain::Child> names;
        const bool entered = m_session.failures.attempt(
            [&] {
                fromLevel.emplace(m_from, name);
                names = m_from.children();
                toLevel.emplace(m_to, targetName);
            },
            sourcePath);
        if (!entered) {
            fromLevel.reset();
            if (how == Folder::create)
                ::unlinkat(m_to.fd(), targetName.c_str(), AT_REMOVEDIR);
            leave(name, info);
            return false;
        }
        m_control.beginItem(sourcePath, 0);
        bool allGone = true;
        for (const DirectoryChain::Child& child : names)
            allGone = copyEntry(child.name, child.name) && allGone;
        toLevel.reset();
        fromLevel.reset();
        // Permissions and times last: adding the children changed the time, and a read-only
        // folder could not have taken them.
        if (how == Folder::create)
            m_session.failures.attempt(
                [&] { keepAttributes(m_to.fd(), targetName, info, targetPath); }, targetPath);
        if (m_source == Source::remove && !allGone) {
            m_control.finishItems(1, 0); // something inside stays at the source, so the folder does
            return false;
        }
        const bool gone = finishCopied(name, info, targetName);
        if (how == Folder::create)
            return noteMoved(name, targetName, gone);
        // A folder merged into one that was there is no item of its own: what moved into it is,
        // and an undo makes the folder again to put it back into.
        if (m_report && gone)
            m_report->addEmptied(sourcePath);
        return gone;
    }

    // Removes the source once its copy is complete, when this is a move.
    bool removeSource(const std::string& name, const struct stat& info, const std::string& targetName)
    {
        if (m_source == Source::keep)
            return false;
        const std::string sourcePath = m_from.pathOf(name);
        const int flags = S_ISDIR(info.st_mode) ? AT_REMOVEDIR : 0;
        const bool removed = m_session.failures.attempt(
            [&] {
                if (::unlinkat(m_from.fd(), name.c_str(), flags) != 0)
                    throwSystemError(errno, sourcePath);
            },
            sourcePath, "Copied to " + m_to.pathOf(targetName) + ", but the original could not be removed: ");
        if (!removed)
            ++m_session.sourcesKept;
        return removed;
    }

    // A file over a file (or link, or special file): the new one is made beside the old one and
    // renamed over it in one step, so a failure never destroys the old one.
    bool replace(const std::string& name, const struct stat& info, const std::string& targetName)
    {
        const std::string temporary = FreeName::temporary(m_to.fd());
        const bool made = throughTemporary(temporary, [&] {
            return makeReplacement(name, info, temporary)
                && m_session.failures.attempt(
                    [&] { renameOver(temporary, targetName); }, m_to.pathOf(targetName));
        });
        return made && finishCopied(name, info, targetName);
    }

    // A folder over a file or a file over a folder, as the user chose: the new item is made whole
    // beside the old one, the old one goes to the trash, and the new one takes its name.
    bool replaceAcrossKinds(const std::string& name, const struct stat& info, const std::string& targetName,
        const struct stat& existing)
    {
        const std::string sourcePath = m_from.pathOf(name);
        const std::string targetPath = m_to.pathOf(targetName);
        if (S_ISDIR(existing.st_mode)
            && PathString::isSameOrInside(ItemFacts::resolved(sourcePath), ItemFacts::resolved(targetPath))) {
            m_session.failures.attempt(
                [&] {
                    throw KivError::operationFailed(
                        "Cannot replace the folder " + targetPath + " with an item inside it.");
                },
                sourcePath);
            leave(name, info);
            return false;
        }
        const std::string temporary = FreeName::temporary(m_to.fd());
        TrashedItem trashed;
        const bool made = throughTemporary(temporary, [&] {
            return makeReplacement(name, info, temporary)
                && m_session.failures.attempt(
                    [&] {
                        trashed
                            = TrashSwap::replace(m_session.trash, targetPath, S_ISDIR(existing.st_mode), [&] {
                                  return PlatformCalls::renameExclusiveAt(
                                      m_to.fd(), temporary.c_str(), m_to.fd(), targetName.c_str());
                              });
                    },
                    targetPath);
        });
        if (!made)
            return false;
        noteMade(name, targetName, trashed);
        const bool gone
            = S_ISDIR(info.st_mode) ? removeFolderSource(name) : finishCopied(name, info, targetName);
        return noteMoved(name, targetName, gone, trashed);
    }

    // Runs `work`, which makes the new item at `temporary` and puts it in place; whatever it left
    // at `temporary` when it failed or was cancelled goes. Returns what `work` returned.
    bool throughTemporary(const std::string& temporary, const std::function<bool()>& work)
    {
        bool done = false;
        try {
            done = work();
        } catch (...) {
            TreeRemoval::removeOwn(m_to, temporary);
            throw;
        }
        if (!done)
            TreeRemoval::removeOwn(m_to, temporary);
        return done;
    }

    bool makeReplacement(const std::string& name, const struct stat& info, const std::string& temporary)
    {
        if (!S_ISDIR(info.st_mode)) {
            const bool made
                = m_session.failures.attempt([&] { makeItem(name, info, temporary); }, m_from.pathOf(name));
            if (!made)
                m_control.finishItems(1, S_ISREG(info.st_mode) ? info.st_size : 0);
            return made;
        }
        // A folder is copied whole before its source may go, whatever this copy does with sources.
        Copier keeping(m_session, m_from, m_to, Source::keep, nullptr);
        keeping.copyFolder(name, info, temporary, Folder::create);
        struct stat made;
        return ::fstatat(m_to.fd(), temporary.c_str(), &made, AT_SYMLINK_NOFOLLOW) == 0;
    }

    // After a folder replaced something in a move across file systems, its source goes whole.
    bool removeFolderSource(const std::string& name)
    {
        if (m_source == Source::keep)
            return false;
        const bool removed = TreeRemoval::remove(m_from, name, m_session.failures, nullptr);
        if (!removed)
            ++m_session.sourcesKept;
        return removed;
    }

    void renameOver(const std::string& temporary, const std::string& targetName)
    {
        if (::renameat(m_to.fd(), temporary.c_str(), m_to.fd(), targetName.c_str()) != 0)
            throwSystemError(errno, m_to.pathOf(targetName));
    }

    void makeFolder(const std::string& targetName, const std::string& targetPath)
    {
        if (::mkdirat(m_to.fd(), targetName.c_str(), 0700) != 0)
            throwSystemError(errno, targetPath);
    }

    void makeItem(const std::string& name, const struct stat& info, const std::string& targetName)
    {
        if (S_ISREG(info.st_mode))
            makeFile(name, targetName);
        else if (S_ISLNK(info.st_mode))
            makeLink(name, info, targetName);
        else if (PlatformCalls::makeNode(m_to.fd(), targetName.c_str(), info) != 0)
            throwSystemError(errno, m_to.pathOf(targetName));
        if (!S_ISREG(info.st_mode))
            keepTimes(m_to.fd(), targetName, info, m_to.pathOf(targetName));
    }

    void makeFile(const std::string& name, const std::string& targetName)
    {
        const std::string sourcePath = m_from.pathOf(name);
        const std::string targetPath = m_to.pathOf(targetName);
        // The target first: every failure after this point leaves only our own file behind.
        UniqueFd out(::openat(m_to.fd(), targetName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!out.valid())
            throwSystemError(errno, targetPath);
        try {
            // O_NONBLOCK: should the item have turned into a FIFO since it was looked at, opening
            // it must not hang; the fstat below then refuses it.
            UniqueFd in(::openat(m_from.fd(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
            struct stat opened;
            if (!in.valid() || ::fstat(in.get(), &opened) != 0)
                throwSystemError(errno, sourcePath);
            if (!S_ISREG(opened.st_mode))
                throwSystemError(EINVAL, sourcePath);
            m_control.beginItem(sourcePath, opened.st_size);
            FileBytes::copy(in.get(), out.get(), opened, m_control, sourcePath, targetPath);
            keepAttributes(out.get(), opened, targetPath);
            if (::close(out.release()) != 0)
                throwSystemError(errno, targetPath);
        } catch (...) {
            out.reset();
            ::unlinkat(m_to.fd(), targetName.c_str(), 0);
            throw;
        }
    }

    void makeLink(const std::string& name, const struct stat& info, const std::string& targetName)
    {
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
        const auto length = ::readlinkat(m_from.fd(), name.c_str(), target.data(), target.size());
        if (length < 0)
            throwSystemError(errno, m_from.pathOf(name));
        target.resize(static_cast<std::size_t>(length));
        if (::symlinkat(target.c_str(), m_to.fd(), targetName.c_str()) != 0)
            throwSystemError(errno, m_to.pathOf(targetName));
    }

    static void keepAttributes(int fd, const struct stat& info, const std::string& path)
    {
        const auto kept = PlatformCalls::itemTimes(info);
        if (::fchmod(fd, info.st_mode & 07777) != 0 || ::futimens(fd, kept.times) != 0)
            throwSystemError(errno, path);
    }

    static void keepAttributes(
        int folder, const std::string& name, const struct stat& info, const std::string& path)
    {
        if (::fchmodat(folder, name.c_str(), info.st_mode & 07777, 0) != 0)
            throwSystemError(errno, path);
        keepTimes(folder, name, info, path);
    }

    static void keepTimes(
        int folder, const std::string& name, const struct stat& info, const std::string& path)
    {
        const auto kept = PlatformCalls::itemTimes(info);
        if (::utimensat(folder, name.c_str(), kept.times, AT_SYMLINK_NOFOLLOW) != 0)
            throwSystemError(errno, path);
    }

    TransferSession& m_session;
    JobControl& m_control;
    DirectoryChain& m_from;
    DirectoryChain& m_to;
    Source m_source;
    TransferReport* m_report;
};

} // namespace

bool copy(TransferSession& session, DirectoryChain& from, const std::string& name, DirectoryChain& to,
    const std::string& targetName, Source source)
{
    return Copier(session, from, to, source, &session.report).copyEntry(name, targetName);
}

} // namespace kiv::TreeCopy
