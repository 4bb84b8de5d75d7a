#include "files/DirectoryReader.h"

#include "base/ErrorText.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace kiv {

DirectoryReader::DirectoryReader(
    int parentFd, const char* name, const std::string& pathForErrors, FinalLink finalLink)
    : m_path(pathForErrors)
{
    int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (finalLink == FinalLink::refuse ? O_NOFOLLOW : 0);
    int fd = ::openat(parentFd, name, flags);
    if (fd < 0)
        throwSystemError(errno, m_path);
    m_dir = ::fdopendir(fd);
    if (!m_dir) {
        int error = errno;
        ::close(fd);
        throwSystemError(error, m_path);
    }
}

DirectoryReader::~DirectoryReader()
{
    if (m_dir)
        ::closedir(m_dir);
}

int DirectoryReader::fd() const
{
    return ::dirfd(m_dir);
}

bool DirectoryReader::next(Item& item)
{
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(m_dir);
        if (!entry) {
            if (errno != 0)
                throwSystemError(errno, m_path);
            return false;
        }
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        item = { name, entry->d_type };
        return true;
    }
}

} // namespace kiv
