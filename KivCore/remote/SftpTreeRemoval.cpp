#include "remote/SftpTreeRemoval.h"

#include "base/KivError.h"
#include "base/PathString.h"
#include "jobs/JobControl.h"
#include "remote/RemoteName.h"
#include "remote/SftpSession.h"

namespace kiv::SftpTreeRemoval {

namespace {

void removeEntry(SftpSession& session, const std::string& path, const SftpAttributes& attributes, JobControl& control)
{
    control.throwIfCancelled();
    control.beginItem(path, 0);
    if (attributes.isFolder()) {
        for (const SftpEntry& entry : session.list(path, &control)) {
            if (!entry.usable)
                throw KivError::operationFailed(
                    "The server lists a name that " + *RemoteName::problem(entry.name) + " in " + path);
            removeEntry(session, PathString::appendingComponent(path, entry.name), entry.attributes, control);
        }
        session.removeFolder(path, &control);
    } else {
        session.removeFile(path, &control);
    }
    control.finishItems(1, 0);
}

} // namespace

void remove(SftpSession& session, const std::string& path, JobControl& control)
{
    removeEntry(session, path, session.lstat(path, &control), control);
}

} // namespace kiv::SftpTreeRemoval
