#pragma once

#include <string>

// What a new symbolic link holds to reach its target.
namespace kiv::LinkText {

enum class Form
{
    relative, // the way from the link's folder, so the two can move together
    absolute,
};

// Returns what a link in the folder `linkFolder` holds to reach the item at the absolute path
// `target`: `target` itself, or the way from `linkFolder` to the target's folder, both with every
// link on the way resolved (so "../" steps out of the real folder, not the one a link led into),
// then the target's own name, never resolved. Throws the platform error when either folder cannot
// be resolved.
std::string toward(const std::string& target, const std::string& linkFolder, Form form);

// Returns the way from the folder `from` to `to`, both absolute paths without links, "." or "..":
// "../b/c", or "." for the folder itself. No disk access.
std::string relativePath(const std::string& from, const std::string& to);

} // namespace kiv::LinkText
