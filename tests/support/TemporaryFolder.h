#pragma once

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace kiv::test {

// A fresh folder below the system's temporary folder, removed with everything in it (even
// folders whose permissions were taken away) when the object goes.
class TemporaryFolder
{
public:
    TemporaryFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kiv-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
        m_path = pattern;
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    ~TemporaryFolder()
    {
        std::error_code ignored;
        ::chmod(m_path.c_str(), 0700);
        for (auto it = std::filesystem::recursive_directory_iterator(m_path, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            if (it->is_directory(ignored) && !it->is_symlink(ignored)) ::chmod(it->path().c_str(), 0700);
        }
        std::filesystem::remove_all(m_path, ignored);
    }

    const std::string& path() const { return m_path; }

    // The absolute path of `relative` inside the folder.
    std::string operator/(std::string_view relative) const { return m_path + "/" + std::string(relative); }

    // Writes `contents` to `relative`, making the folders on the way; returns the full path.
    std::string writeFile(std::string_view relative, std::string_view contents) const
    {
        auto full = *this / relative;
        std::filesystem::create_directories(std::filesystem::path(full).parent_path());
        std::ofstream(full, std::ios::binary) << contents;
        return full;
    }

    // Makes the folder `relative` with its parents; returns the full path.
    std::string makeFolder(std::string_view relative) const
    {
        auto full = *this / relative;
        std::filesystem::create_directories(full);
        return full;
    }

private:
    std::string m_path;
};

// The whole contents of a file, or an empty string when it cannot be read.
inline std::string fileContents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// True when permission bits bind for this process (not so for root with its capabilities):
// tests about refused access are meaningless otherwise and must skip.
inline bool permissionBitsBind(const TemporaryFolder& scratch)
{
    auto probe = scratch.makeFolder("permission-probe");
    ::chmod(probe.c_str(), 0);
    int fd = ::open(probe.c_str(), O_RDONLY | O_DIRECTORY);
    bool bind = fd < 0;
    if (fd >= 0) ::close(fd);
    ::chmod(probe.c_str(), 0700);
    std::filesystem::remove(probe);
    return bind;
}

} // namespace kiv::test
