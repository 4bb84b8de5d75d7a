#pragma once

#include <string>

// Copies on disk of what the viewer and the editor cannot read where it lies (an archive's member,
// a server's file). Each copy lives in a folder of its own in the system's temporary folder, named
// "kiv-mac-", the id of the process that made it, "-" and a random UUID, so that leftovers can be
// told apart from the copies of a program still running.
namespace kiv::TemporaryCopy {

// Returns the path of a new copy folder, not made yet; no two calls return the same.
std::string newFolder();

// Removes the copy folders made by this process or by one that no longer runs; never throws.
// Called when the program starts and when it ends, once nothing shows this process's copies.
void removeUnused();

} // namespace kiv::TemporaryCopy
