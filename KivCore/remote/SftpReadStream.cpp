#include "remote/SftpReadStream.h"

#include "jobs/JobControl.h"

#include <algorithm>
#include <cstring>

namespace kiv {

SftpReadStream::SftpReadStream(std::shared_ptr<SftpSession> session, std::string path, std::uint64_t size)
    : m_reader(std::move(session), std::move(path), size, JobControl::ofThisThread())
    , m_size(static_cast<std::int64_t>(size))
{
}

std::size_t SftpReadStream::read(std::span<char> buffer)
{
    if (m_rest.empty())
        m_rest = m_reader.next();
    const std::size_t count = std::min(buffer.size(), m_rest.size());
    if (count == 0)
        return 0; // the end: the last piece may hold no storage at all
    std::memcpy(buffer.data(), m_rest.data(), count);
    m_rest.remove_prefix(count);
    return count;
}

} // namespace kiv
