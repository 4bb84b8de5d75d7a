#include "settings/StartPaths.h"

#include <filesystem>

namespace kiv {

StartPaths StartPaths::ofArguments(std::vector<std::string> typed)
{
    std::error_code gone;
    const std::filesystem::path current = std::filesystem::current_path(gone);
    return { std::move(typed), gone ? std::string(1, '/') : current.string() };
}

} // namespace kiv
