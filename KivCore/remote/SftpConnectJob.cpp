#include "remote/SftpConnectJob.h"

#include "remote/SftpDoor.h"

namespace kiv {

SftpConnectJob::SftpConnectJob(RemotePlace place)
    : m_place(std::move(place))
{
}

std::string SftpConnectJob::description() const
{
    return "Connect to " + m_place.withPath({}).url();
}

JobOutcome SftpConnectJob::run(JobControl& control)
{
    auto door = SftpDoor::open(m_place, control);
    m_folder = door->absolutePath(m_place.path, &control);
    m_door = std::move(door);
    return { JobOutcome::End::completed, "Connected" };
}

} // namespace kiv
