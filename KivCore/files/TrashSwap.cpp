#include "files/TrashSwap.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "files/TrashBin.h"

#include <cerrno>

namespace kiv::TrashSwap {

TrashedItem replace(const TrashBin* trash, const std::string& targetPath, bool targetIsFolder,
    const std::function<int()>& putIn)
{
    const std::string refusal = std::string("Nothing was replaced: the old ")
        + (targetIsFolder ? "folder " : "file ") + targetPath + " would have to go to the trash first, and ";
    if (!trash)
        throw KivError::operationFailed(refusal + "there is no trash here.");
    TrashedItem trashed;
    try {
        trashed = trash->moveToTrash(targetPath);
    } catch (const std::exception& error) {
        throw KivError::operationFailed(refusal + "it cannot go there: " + userMessage(error));
    }
    if (putIn() != 0) {
        const int error = errno;
        try {
            trash->restore(trashed);
        } catch (const std::exception&) {
            // It stays in the trash, whole; the failure to put the new item in is what to report.
        }
        throwSystemError(error, targetPath);
    }
    return trashed;
}

} // namespace kiv::TrashSwap
