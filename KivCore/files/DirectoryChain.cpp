#include "files/DirectoryChain.h"

#include "base/ErrorText.h"
#include "files/DirectoryReader.h"
#include "base/PathString.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace kiv {

namespace {

// Enough for the walk's current folders on both sides of a copy, few enough for any limit.
constexpr std::size_t openLevelsKept = 6;

constexpr int folderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

} // namespace

DirectoryChain::DirectoryChain(std::string rootPath)
    : m_path(std::move(rootPath))
{
    m_levels.push_back({ m_path, UniqueFd(), m_path.size() });
}

std::string DirectoryChain::pathOf(std::string_view name) const
{
    return PathString::appendingComponent(m_path, name);
}

int DirectoryChain::fd()
{
    if (!m_levels.back().fd.valid())
        reopen(m_levels.size() - 1);
    return m_levels.back().fd.get();
}

// Opens `level` from the nearest open level above it, opening each level between on the way.
void DirectoryChain::reopen(std::size_t level)
{
    std::size_t open = level;
    while (open > 0 && !m_levels[open].fd.valid())
        --open;
    if (!m_levels[open].fd.valid()) {
        // The starting folder is the one level opened by path, and the only one that follows a link.
        int fd = ::open(m_levels[0].name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            throwSystemError(errno, m_levels[0].name);
        this->open(0, fd);
    }
    for (std::size_t next = open + 1; next <= level; ++next) {
        int fd = ::openat(m_levels[next - 1].fd.get(), m_levels[next].name.c_str(), folderFlags);
        if (fd < 0)
            throwSystemError(errno, m_path.substr(0, m_levels[next].pathLength));
        this->open(next, fd);
    }
}

void DirectoryChain::open(std::size_t level, int fd)
{
    struct stat info;
    if (::fstat(fd, &info) == 0) {
        m_levels[level].device = info.st_dev;
        m_levels[level].inode = info.st_ino;
    }
    m_levels[level].fd.reset(fd);
    closeSurplus();
}

void DirectoryChain::enter(const std::string& name)
{
    int fd = ::openat(this->fd(), name.c_str(), folderFlags);
    if (fd < 0)
        throwSystemError(errno, pathOf(name));
    m_path = pathOf(name);
    m_levels.push_back({ name, UniqueFd(), m_path.size() });
    open(m_levels.size() - 1, fd);
}

void DirectoryChain::leave()
{
    UniqueFd child = std::move(m_levels.back().fd);
    m_levels.pop_back();
    m_path.resize(m_levels.back().pathLength);
    Level& parent = m_levels.back();
    if (parent.fd.valid() || !child.valid())
        return;
    // Climbing back up a deep tree: ".." of the folder just left is the parent, one call instead
    // of a walk down from the top, as long as it is still the same folder.
    UniqueFd up(::openat(child.get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat info;
    if (up.valid() && ::fstat(up.get(), &info) == 0 && info.st_dev == parent.device
        && info.st_ino == parent.inode)
        parent.fd = std::move(up);
}

std::vector<DirectoryChain::Child> DirectoryChain::children()
{
    DirectoryReader reader(fd(), ".", m_path, DirectoryReader::FinalLink::follow);
    std::vector<Child> children;
    DirectoryReader::Item item;
    while (reader.next(item))
        children.push_back({ item.name, item.type });
    return children;
}

// Closes the shallowest open levels until only a few stay open; the current one always stays.
void DirectoryChain::closeSurplus()
{
    std::size_t open = 0;
    for (const Level& level : m_levels)
        open += level.fd.valid() ? 1 : 0;
    for (std::size_t index = 0; open > openLevelsKept && index + 1 < m_levels.size(); ++index) {
        if (m_levels[index].fd.valid()) {
            m_levels[index].fd.reset();
            --open;
        }
    }
}

} // namespace kiv
