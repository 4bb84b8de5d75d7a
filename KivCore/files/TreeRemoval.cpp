#include "files/TreeRemoval.h"

#include "base/ErrorText.h"
#include "files/DirectoryChain.h"
#include "jobs/ItemFailures.h"
#include "jobs/JobControl.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kiv::TreeRemoval {

namespace {

// Runs one step; says whether it succeeded (the asking kind retries or skips on the user's word).
using Attempt = std::function<bool(const std::function<void()>& step, const std::string& path)>;

// Whose items are removed: the user's as they are, or the program's own half-made ones, whose
// folders may be made writable first.
enum class Owner
{
    user,
    program,
};

class Remover
{
public:
    Remover(DirectoryChain& chain, Attempt attempt, JobControl* control, Owner owner, std::int64_t* left)
        : m_chain(chain)
        , m_attempt(std::move(attempt))
        , m_control(control)
        , m_owner(owner)
        , m_left(left)
    {
    }

    bool remove(const std::string& name, unsigned char type = DT_UNKNOWN)
    {
        const bool gone = removeItem(name, type);
        if (!gone && m_left)
            ++*m_left;
        return gone;
    }

private:
    // Most items are files whose kind their folder already told: they go in one call, and only a
    // failure, a folder or a kind not told costs a look at the item.
    bool removeItem(const std::string& name, unsigned char type)
    {
        if (m_control)
            m_control->throwIfCancelled();
        if (type != DT_DIR && type != DT_UNKNOWN && ::unlinkat(m_chain.fd(), name.c_str(), 0) == 0)
            return finished();
        const std::string path = m_chain.pathOf(name);
        bool folder = type == DT_DIR;
        if (!folder) {
            struct stat info;
            if (!m_attempt([&] { statAt(name, path, info); }, path))
                return false;
            folder = S_ISDIR(info.st_mode);
        }
        if (folder && !removeContents(name, path))
            return false;
        const bool gone = m_attempt(
            [&] {
                if (::unlinkat(m_chain.fd(), name.c_str(), folder ? AT_REMOVEDIR : 0) != 0)
                    throwSystemError(errno, path);
            },
            path);
        return gone && finished();
    }

    // Counts one more item gone; a removal's work is in its items, whatever their size.
    bool finished()
    {
        if (m_control)
            m_control->finishItems(1, 0);
        return true;
    }

    void statAt(const std::string& name, const std::string& path, struct stat& info)
    {
        if (::fstatat(m_chain.fd(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
            throwSystemError(errno, path);
    }

    bool removeContents(const std::string& name, const std::string& path)
    {
        if (m_owner == Owner::program)
            ::fchmodat(m_chain.fd(), name.c_str(), 0700, 0);
        std::optional<ChainLevel> level;
        std::vector<DirectoryChain::Child> children;
        if (!m_attempt([&] { level.emplace(m_chain, name), children = m_chain.children(); }, path))
            return false;
        if (m_control)
            m_control->beginItem(path, 0);
        bool allGone = true;
        for (const DirectoryChain::Child& child : children)
            allGone = remove(child.name, child.type) && allGone;
        return allGone;
    }

    DirectoryChain& m_chain;
    Attempt m_attempt;
    JobControl* m_control;
    Owner m_owner;
    std::int64_t* m_left;
};

} // namespace

bool remove(DirectoryChain& chain, const std::string& name, ItemFailures& failures, JobControl* control,
    std::int64_t* left)
{
    Attempt asking = [&failures](const std::function<void()>& step, const std::string& path) {
        return failures.attempt(step, path);
    };
    return Remover(chain, asking, control, Owner::user, left).remove(name);
}

void removeOwn(DirectoryChain& chain, const std::string& name) noexcept
{
    Attempt quiet = [](const std::function<void()>& step, const std::string&) {
        try {
            step();
            return true;
        } catch (const std::exception&) {
            return false;
        }
    };
    try {
        Remover(chain, quiet, nullptr, Owner::program, nullptr).remove(name);
    } catch (...) {
        // Best effort: the failure that made this clean-up necessary is the one to report.
    }
}

} // namespace kiv::TreeRemoval
