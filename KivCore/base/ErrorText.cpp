#include "base/ErrorText.h"

#include "base/KivError.h"

#include <filesystem>
#include <system_error>

namespace kiv {

void throwSystemError(int errorNumber, const std::string& path)
{
    throw std::filesystem::filesystem_error(std::generic_category().message(errorNumber),
        std::filesystem::path(path), std::error_code(errorNumber, std::generic_category()));
}

std::string userMessage(const std::exception& error)
{
    if (auto* kivError = dynamic_cast<const KivError*>(&error))
        return kivError->description();
    if (auto* fsError = dynamic_cast<const std::filesystem::filesystem_error*>(&error)) {
        std::string text = fsError->code().message();
        if (!fsError->path1().empty())
            text += ": " + fsError->path1().string();
        return text;
    }
    if (auto* systemError = dynamic_cast<const std::system_error*>(&error))
        return systemError->code().message();
    return error.what();
}

} // namespace kiv
