#pragma once

#include <memory>
#include <string>

namespace kiv {

class JobControl;
class SftpSession;

// Deleting on a server for good (a server has no trash).
namespace SftpTreeRemoval {

// Removes `path` and, for a folder (never a link to one), everything below it, counting each
// removed item into `control`'s progress. Throws at the first failure (what was removed before
// stays removed), JobCancelled once cancelled. A name in a listing that cannot be a file name
// (RemoteName) is a failure: it could name something else than the item listed.
void remove(SftpSession& session, const std::string& path, JobControl& control);

} // namespace SftpTreeRemoval

} // namespace kiv
