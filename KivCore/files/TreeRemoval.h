#pragma once

#include <string>

namespace kiv::TreeRemoval {

// Removes the item at `path`: a folder with everything in it, a link without what it points
// to. Throws the platform error with the path of the item that could not be removed.
void remove(const std::string& path);

} // namespace kiv::TreeRemoval
