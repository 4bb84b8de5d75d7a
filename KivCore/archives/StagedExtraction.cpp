#include "archives/StagedExtraction.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "base/PlatformCalls.h"
#include "files/DirectoryReader.h"
#include "files/DiskItem.h"
#include "files/PathString.h"
#include "files/TreeRemoval.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <vector>

namespace kiv::StagedExtraction {

namespace {

std::vector<std::string> childNames(const std::string& folder)
{
    DirectoryReader reader(AT_FDCWD, folder.c_str(), folder, DirectoryReader::FinalLink::refuse);
    std::vector<std::string> names;
    DirectoryReader::Item item;
    while (reader.next(item))
        names.emplace_back(item.name);
    return names;
}

// Moves the contents of `from` into `to`; remembers the first destination path that was taken.
void mergeInto(const std::string& from, const std::string& to, std::optional<std::string>& firstTaken)
{
    for (const auto& name : childNames(from)) {
        auto source = PathString::appendingComponent(from, name);
        auto target = PathString::appendingComponent(to, name);
        if (PlatformCalls::renameExclusive(source.c_str(), target.c_str()) == 0)
            continue;
        if (errno != EEXIST && errno != ENOTEMPTY)
            throwSystemError(errno, target);
        if (DiskItem::isRealFolder(source) && DiskItem::isRealFolder(target))
            mergeInto(source, target, firstTaken);
        else if (!firstTaken)
            firstTaken = target;
    }
}

std::string makeStagingFolder(const std::string& destination)
{
    std::error_code error;
    std::filesystem::create_directories(destination, error);
    if (error)
        throwSystemError(error.value(), destination);
    auto pattern = PathString::appendingComponent(destination, ".tavrin-extract-XXXXXX");
    if (!::mkdtemp(pattern.data()))
        throwSystemError(errno, destination);
    return pattern;
}

void placeAndClean(
    const std::string& staging, const std::string& destination, std::optional<std::string>& firstTaken)
{
    try {
        mergeInto(staging, destination, firstTaken);
    } catch (...) {
        TreeRemoval::remove(staging);
        throw;
    }
    TreeRemoval::remove(staging);
}

} // namespace

void run(const std::string& destination, const std::function<void(const std::string&)>& extractInto)
{
    auto staging = makeStagingFolder(destination);
    std::optional<std::string> firstTaken;
    try {
        extractInto(staging);
    } catch (...) {
        placeAndClean(staging, destination, firstTaken);
        throw;
    }
    placeAndClean(staging, destination, firstTaken);
    if (firstTaken)
        throw KivError::alreadyExists(*firstTaken);
}

} // namespace kiv::StagedExtraction
