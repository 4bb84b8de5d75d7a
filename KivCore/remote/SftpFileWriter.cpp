#include "remote/SftpFileWriter.h"

#include "remote/RemoteError.h"
#include "remote/SftpSession.h"

#include <algorithm>

namespace kiv {

SftpFileWriter::SftpFileWriter(std::shared_ptr<SftpSession> session, std::string path,
    std::optional<std::uint32_t> mode, const JobControl* control)
    : m_session(std::move(session))
    , m_path(std::move(path))
    , m_control(control)
{
    // Given bits: created owner-only, then given them, so that the bytes are never readable by
    // more people than the bits allow. Else the server's umask applies to a new file's bits.
    SftpAttributes attributes;
    attributes.flags = Sftp::hasPermissions;
    attributes.permissions = mode ? 0600 : 0666;
    m_handle = m_session->openFile(
        m_path, Sftp::openWrite | Sftp::openCreate | Sftp::openExclusive, attributes, control);
    if (mode)
        m_inFlight.push_back(m_session->sendSetPermissions(m_handle, *mode));
}

SftpFileWriter::~SftpFileWriter()
{
    if (m_finished)
        return;
    try {
        for (std::uint32_t id : m_inFlight)
            m_session->abandon(id);
        m_session->closeFile(m_handle, m_path, false, nullptr);
        m_session->removeFile(m_path, nullptr);
    } catch (const std::exception&) {
        // A lost connection leaves it to be found; nothing more can be done from here.
    }
}

void SftpFileWriter::awaitOldest()
{
    const std::uint32_t id = m_inFlight.front();
    m_inFlight.pop_front();
    m_session->expectOk(id, m_path, m_control);
}

void SftpFileWriter::write(std::string_view data)
{
    while (!data.empty()) {
        if (m_inFlight.size() >= SftpSession::requestsInFlight)
            awaitOldest();
        const auto piece = data.substr(0, std::min<std::size_t>(SftpSession::blockLength, data.size()));
        m_inFlight.push_back(m_session->sendWrite(m_handle, m_offset, piece));
        m_offset += piece.size();
        data.remove_prefix(piece.size());
    }
}

void SftpFileWriter::finish()
{
    while (!m_inFlight.empty())
        awaitOldest();
    m_session->closeFile(m_handle, m_path, true, m_control);
    m_finished = true;
}

} // namespace kiv
