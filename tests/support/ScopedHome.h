#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace kiv::test {

// Points HOME at `path` for as long as it lives, then puts the previous value back.
class ScopedHome
{
public:
    explicit ScopedHome(const std::string& path)
    {
        if (const char* home = std::getenv("HOME"))
            m_saved = home;
        ::setenv("HOME", path.c_str(), 1);
    }
    ScopedHome(const ScopedHome&) = delete;
    ScopedHome& operator=(const ScopedHome&) = delete;
    ~ScopedHome()
    {
        if (m_saved)
            ::setenv("HOME", m_saved->c_str(), 1);
        else
            ::unsetenv("HOME");
    }

private:
    std::optional<std::string> m_saved;
};

} // namespace kiv::test
