#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

// The names of users and groups as the attributes dialog shows and reads them, and which changes
// of owner and group the system lets this process make.
namespace kiv::AccountNames {

// Returns the name of the user `id`, or its number when the system knows no name for it.
std::string userName(uid_t id);
// Returns the name of the group `id`, or its number when the system knows no name for it.
std::string groupName(gid_t id);

// Returns the user named `text`, or numbered so (digits only); nothing when there is none.
std::optional<uid_t> userId(const std::string& text);
// Returns the group named `text`, or numbered so (digits only); nothing when there is none.
std::optional<gid_t> groupId(const std::string& text);

// Returns whether this process may give an item to another user: only the superuser may.
bool mayChangeOwner();
// Returns whether this process may give its own items to the group `id`: the superuser may give
// any group, anyone else only a group they belong to.
bool mayChangeGroupTo(gid_t id);

} // namespace kiv::AccountNames
