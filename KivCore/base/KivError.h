#pragma once

#include <exception>
#include <string>

namespace kiv {

// The core's own refusals. Platform failures are not wrapped in it: they travel as
// std::filesystem::filesystem_error / std::system_error.
class KivError : public std::exception
{
public:
    enum class Case
    {
        notADirectory, // payload: the path that was to be listed
        alreadyExists, // payload: the destination path that is in the way
        operationFailed, // payload: the complete message
    };

    static KivError notADirectory(std::string path) { return { Case::notADirectory, std::move(path) }; }
    static KivError alreadyExists(std::string path) { return { Case::alreadyExists, std::move(path) }; }
    static KivError operationFailed(std::string message)
    {
        return { Case::operationFailed, std::move(message) };
    }

    Case errorCase() const { return m_case; }
    const std::string& payload() const { return m_payload; }

    // The text the user reads: "Not a directory: …", "Already exists: …", or the message itself.
    const std::string& description() const { return m_description; }
    const char* what() const noexcept override { return m_description.c_str(); }

private:
    KivError(Case errorCase, std::string payload);

    Case m_case;
    std::string m_payload;
    std::string m_description;
};

} // namespace kiv
