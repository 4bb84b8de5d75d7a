#pragma once

#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kiv::test {

// A fresh folder under `base` (the system's temporary folder by default), removed with everything
// in it (permissions restored first) when the object goes away.
class TempDir
{
public:
    explicit TempDir(const std::filesystem::path& base = std::filesystem::temp_directory_path())
    {
        std::string pattern = (base / "tavrin-test-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir()
    {
        std::error_code ignored;
        ::chmod(m_path.c_str(), 0700);
        for (auto it = std::filesystem::recursive_directory_iterator(m_path, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            if (it->is_directory(ignored) && !it->is_symlink(ignored))
                ::chmod(it->path().c_str(), 0700);
        }
        std::filesystem::remove_all(m_path, ignored);
    }

    const std::string& path() const { return m_path; }

    // The full path of `relative` inside the folder.
    std::string operator/(const std::string& relative) const { return m_path + "/" + relative; }

    // Writes a file (making its folders) and returns its full path.
    std::string write(const std::string& relative, const std::string& content = "") const
    {
        auto full = *this / relative;
        std::filesystem::create_directories(std::filesystem::path(full).parent_path());
        std::ofstream(full, std::ios::binary) << content;
        return full;
    }

    // Makes a folder (and its parents) and returns its full path.
    std::string folder(const std::string& relative) const
    {
        std::filesystem::create_directories(*this / relative);
        return *this / relative;
    }

    // Runs the shell `command` in the folder, its output discarded (e.g. zip or tar to make an
    // archive); a test failure when it fails.
    void run(const std::string& command) const
    {
        const std::string line = "cd '" + m_path + "' && " + command + " >/dev/null";
        EXPECT_EQ(std::system(line.c_str()), 0) << line;
    }

private:
    std::string m_path;
};

inline std::string readFile(const std::string& path)
{
    // Whole buffers at a time: test code is unoptimised, and a character at a time made the
    // property tests, which read every tree many times, ten times slower.
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

// The permission bits of `path` itself (a link's own), or -1 when it is not there.
inline int modeOf(const std::string& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

// Sets the access and modification time of `path` itself to `seconds` since the epoch.
inline void setTime(const std::string& path, std::int64_t seconds)
{
    const timespec times[2] { { seconds, 0 }, { seconds, 0 } };
    ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

// True when permission bits bind for this process (false for root with DAC override).
inline bool permissionBitsBind(const TempDir& scratch)
{
    auto probe = scratch.folder("permission-probe");
    ::chmod(probe.c_str(), 0);
    bool binds = ::access(probe.c_str(), R_OK) != 0;
    ::rmdir(probe.c_str());
    return binds;
}

} // namespace kiv::test
