#include "files/ConfigFolder.h"

#include "files/AtomicFile.h"
#include "files/FileSystemService.h"
#include "base/PathString.h"

#include <cstdlib>
#include <filesystem>

namespace kiv::ConfigFolder {

namespace {

std::string folderPath()
{
    // The base directory convention ignores relative values, so a stray setting cannot scatter
    // files into whatever folder the program was started in.
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const std::string base = configHome && configHome[0] == '/'
        ? std::string(configHome)
        : PathString::appendingComponent(FileSystemService::homeDirectoryPath(), ".config");
    return PathString::appendingComponent(base, "kiv-mac");
}

} // namespace

std::string filePath(std::string_view name)
{
    return PathString::appendingComponent(folderPath(), name);
}

void writeFile(std::string_view name, std::string_view contents)
{
    std::filesystem::create_directories(folderPath());
    AtomicFile::write(filePath(name), contents);
}

} // namespace kiv::ConfigFolder
