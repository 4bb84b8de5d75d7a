#include "remote/SftpFileReader.h"

#include "remote/RemoteError.h"
#include "remote/SftpSession.h"

#include <algorithm>

namespace kiv {

SftpFileReader::SftpFileReader(std::shared_ptr<SftpSession> session, std::string path,
    std::optional<std::uint64_t> knownSize, const JobControl* control)
    : m_session(std::move(session))
    , m_path(std::move(path))
    , m_control(control)
{
    m_handle = m_session->openFile(m_path, Sftp::openRead, {}, control);
    try {
        m_size = knownSize ? *knownSize : m_session->fileAttributes(m_handle, control).size;
    } catch (...) {
        m_session->closeFile(m_handle, m_path, false, nullptr);
        throw;
    }
}

SftpFileReader::~SftpFileReader()
{
    try {
        dropRequests();
        m_session->closeFile(m_handle, m_path, false, nullptr);
    } catch (const RemoteError&) {
        // A lost connection has already closed the file.
    }
}

void SftpFileReader::dropRequests()
{
    for (const Request& request : m_inFlight)
        m_session->abandon(request.id);
    m_inFlight.clear();
}

void SftpFileReader::sendRequests()
{
    // Up to the size known at the start and one block past it, which finds the end or a file
    // that grew since.
    while (!m_ended && m_inFlight.size() < SftpSession::requestsInFlight && m_nextOffset <= m_size) {
        m_inFlight.push_back({ m_session->sendRead(m_handle, m_nextOffset, SftpSession::blockLength), m_nextOffset, SftpSession::blockLength });
        m_nextOffset += SftpSession::blockLength;
    }
}

std::string_view SftpFileReader::next()
{
    sendRequests();
    if (m_inFlight.empty()) {
        m_ended = true;
        return {};
    }
    const Request request = m_inFlight.front();
    m_inFlight.pop_front();
    m_reply = m_session->awaitReply(request.id, m_control);
    const SftpChannel::Reply& reply = m_reply;
    if (reply.type == Sftp::status) {
        if (SftpPacketReader(reply.body).u32() != Sftp::endOfFile)
            SftpSession::throwStatus(reply.body, m_path);
        m_ended = true;
        dropRequests();
        return {};
    }
    SftpPacketReader reader(reply.body);
    const std::string_view data = reply.type == Sftp::data ? reader.string() : std::string_view();
    if (reply.type != Sftp::data || data.empty() || data.size() > request.length)
        throw RemoteError(RemoteError::Case::protocol, "The server sent a malformed answer while reading " + m_path);
    const std::uint64_t reached = request.offset + data.size();
    if (data.size() == request.length) {
        // A file that grew is read on to its new end.
        m_size = std::max(m_size, reached);
    } else if (reached < m_size) {
        // A short read inside the file: the rest of this block comes next, before the later ones.
        const auto rest = request.length - static_cast<std::uint32_t>(data.size());
        m_inFlight.push_front({ m_session->sendRead(m_handle, reached, rest), reached, rest });
    } else {
        m_ended = true;
        dropRequests();
    }
    return data;
}

} // namespace kiv
