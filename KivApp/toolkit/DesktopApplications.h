#pragma once

#include <optional>
#include <string>
#include <vector>

// The applications the desktop knows for a file, from its own database of desktop entries and
// the user's defaults (GIO). On a system without GIO there are none.
namespace kiv::DesktopApplications {

// One application: its desktop entry's id ("org.gnome.gedit.desktop") and the name it shows.
struct Application
{
    std::string id;
    std::string name;
};

// Returns the applications that declare the type of a file named `name`, the user's default for
// the type first. The type is told by the name alone: nothing is read from the disk.
std::vector<Application> forFileNamed(const std::string& name);

// Starts the application `id` on the file at `path`; returns why it could not, or nothing.
std::optional<std::string> launch(const std::string& id, const std::string& path);

} // namespace kiv::DesktopApplications
