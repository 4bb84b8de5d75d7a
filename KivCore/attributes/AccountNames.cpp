#include "attributes/AccountNames.h"

#include <algorithm>
#include <charconv>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace kiv::AccountNames {

namespace {

// The system's buffer for one user's or group's entry; a group with many members needs more.
constexpr std::size_t entryBufferSize = 64 * 1024;

std::optional<unsigned long> number(const std::string& text)
{
    unsigned long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

} // namespace

std::string userName(uid_t id)
{
    passwd entry {};
    passwd* found = nullptr;
    std::vector<char> buffer(entryBufferSize);
    if (::getpwuid_r(id, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return found->pw_name;
    return std::to_string(id);
}

std::string groupName(gid_t id)
{
    group entry {};
    group* found = nullptr;
    std::vector<char> buffer(entryBufferSize);
    if (::getgrgid_r(id, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return found->gr_name;
    return std::to_string(id);
}

std::optional<uid_t> userId(const std::string& text)
{
    if (const std::optional<unsigned long> given = number(text))
        return uid_t(*given);
    passwd entry {};
    passwd* found = nullptr;
    std::vector<char> buffer(entryBufferSize);
    if (::getpwnam_r(text.c_str(), &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return found->pw_uid;
    return std::nullopt;
}

std::optional<gid_t> groupId(const std::string& text)
{
    if (const std::optional<unsigned long> given = number(text))
        return gid_t(*given);
    group entry {};
    group* found = nullptr;
    std::vector<char> buffer(entryBufferSize);
    if (::getgrnam_r(text.c_str(), &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return found->gr_gid;
    return std::nullopt;
}

bool mayChangeOwner()
{
    return ::geteuid() == 0;
}

bool mayChangeGroupTo(gid_t id)
{
    if (::geteuid() == 0 || ::getegid() == id)
        return true;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(std::size_t(std::max(count, 0)));
    if (count <= 0 || ::getgroups(count, groups.data()) < 0)
        return false;
    return std::find(groups.begin(), groups.end(), id) != groups.end();
}

} // namespace kiv::AccountNames
