#pragma once

#include <functional>
#include <string>

namespace kiv {

// One entry of the user menu: the key that chooses it, the text shown and the shell command run.
struct UserMenuItem
{
    std::string hotkey; // the UTF-8 bytes of one user-perceived character
    std::string label;
    std::string command;

    // A new item with the given texts and a fresh random identity.
    UserMenuItem(std::string hotkey, std::string label, std::string command);

    // The identity made when the item was created; items read separately never share one.
    const std::string& id() const { return m_id; }

    // Equal only when all four fields, the identity included, are equal.
    bool operator==(const UserMenuItem&) const = default;

private:
    std::string m_id;
};

} // namespace kiv

template <> struct std::hash<kiv::UserMenuItem>
{
    std::size_t operator()(const kiv::UserMenuItem& item) const noexcept
    {
        return std::hash<std::string> {}(item.id());
    }
};
