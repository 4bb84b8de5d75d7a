#include "archives/StagedExtraction.h"

#include "base/ErrorText.h"
#include "files/DirectoryChain.h"
#include "files/PathString.h"
#include "files/TransferSession.h"
#include "files/TreeMove.h"
#include "files/TreeRemoval.h"
#include "jobs/JobCancelled.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace kiv::StagedExtraction {

namespace {

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

void place(const std::string& staging, const std::string& destination, TransferSession& session)
{
    DirectoryChain from(staging);
    DirectoryChain to(destination);
    for (const std::string& name : from.childNames())
        TreeMove::move(session, from, name, to, name, TreeMove::Counting::none);
}

} // namespace

void run(const std::string& destination, TransferSession& session,
    const std::function<void(const std::string& stagingFolder)>& extractInto)
{
    const std::string staging = makeStagingFolder(destination);
    DirectoryChain holder(destination);
    const std::string stagingName = PathString::lastComponent(staging);
    try {
        try {
            extractInto(staging);
        } catch (const JobCancelled&) {
            throw; // what the tool left may be half written: none of it is placed
        } catch (...) {
            place(staging, destination, session);
            throw;
        }
        place(staging, destination, session);
    } catch (...) {
        TreeRemoval::removeOwn(holder, stagingName);
        throw;
    }
    TreeRemoval::removeOwn(holder, stagingName);
}

} // namespace kiv::StagedExtraction
