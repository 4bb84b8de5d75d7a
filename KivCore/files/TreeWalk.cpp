#include "files/TreeWalk.h"

#include "jobs/JobControl.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <system_error>
#include <unistd.h>

namespace kiv {

namespace {

struct DirCloser
{
    void operator()(DIR* dir) const { ::closedir(dir); }
};

bool isDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

void appendName(std::string& path, const char* name)
{
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
}

} // namespace

TreeWalk::TreeWalk(Detail detail, Visit visit, Refusal refused, const JobControl* control)
    : m_detail(detail)
    , m_visit(std::move(visit))
    , m_refused(std::move(refused))
    , m_control(control)
{
}

void TreeWalk::walk(const std::string& root)
{
    std::string path = root;
    const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return refuse(path, errno);
    walkFolder(fd, path);
}

void TreeWalk::refuse(const std::string& path, int error)
{
    if (m_refused)
        m_refused(path, std::generic_category().message(error));
}

// Takes `fd` over; `path` grows and shrinks back as the walk goes down and up.
void TreeWalk::walkFolder(int fd, std::string& path)
{
    struct stat self;
    if (::fstat(fd, &self) != 0) {
        const int error = errno;
        ::close(fd);
        return refuse(path, error);
    }
    const std::pair<dev_t, ino_t> identity { self.st_dev, self.st_ino };
    if (std::find(m_way.begin(), m_way.end(), identity) != m_way.end()) {
        ::close(fd);
        return; // the same folder again further down: entering it would never end
    }
    m_way.push_back(identity);
    try {
        walkEntries(fd, path);
    } catch (...) {
        m_way.pop_back();
        throw;
    }
    m_way.pop_back();
}

void TreeWalk::walkEntries(int fd, std::string& path)
{
    const std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd));
    if (!dir) {
        const int error = errno;
        ::close(fd);
        return refuse(path, error);
    }
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (!entry) {
            if (errno != 0)
                refuse(path, errno);
            return;
        }
        if (isDotOrDotDot(entry->d_name))
            continue;
        if (m_control)
            m_control->throwIfCancelled();
        struct stat status;
        bool isFolder = entry->d_type == DT_DIR;
        bool isRegularFile = entry->d_type == DT_REG;
        const bool stated = m_detail == Detail::status || entry->d_type == DT_UNKNOWN;
        if (stated) {
            if (::fstatat(fd, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // gone since the folder was read
            isFolder = S_ISDIR(status.st_mode);
            isRegularFile = S_ISREG(status.st_mode);
        }
        m_visit({ path, fd, entry->d_name, isFolder, isRegularFile,
            m_detail == Detail::status ? &status : nullptr });
        if (!isFolder)
            continue;
        const std::size_t length = path.size();
        appendName(path, entry->d_name);
        const int child = ::openat(fd, entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (child < 0)
            refuse(path, errno);
        else
            walkFolder(child, path);
        path.resize(length);
    }
}

} // namespace kiv
