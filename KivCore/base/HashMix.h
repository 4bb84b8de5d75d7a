#pragma once

#include <cstddef>
#include <functional>

namespace kiv {

// Folds the hash of `value` into `seed` (the usual golden-ratio mix), for records hashed field by field.
template <typename T> std::size_t hashMix(std::size_t seed, const T& value)
{
    return seed ^ (std::hash<T> {}(value) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

} // namespace kiv
