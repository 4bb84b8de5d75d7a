#include "remote/SftpWriteStream.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "base/PathString.h"
#include "base/Uuid.h"
#include "jobs/JobControl.h"
#include "remote/RemoteError.h"
#include "remote/SftpFileWriter.h"
#include "remote/SftpSession.h"

#include <cerrno>
#include <filesystem>

namespace kiv {

namespace {

// The facts of `path` without following a link, or nothing when nothing is there.
std::optional<SftpAttributes> lookUp(SftpSession& session, const std::string& path, bool followLink)
{
    try {
        return followLink ? session.stat(path, nullptr) : session.lstat(path, nullptr);
    } catch (const std::filesystem::filesystem_error& error) {
        if (error.code() == std::errc::no_such_file_or_directory)
            return std::nullopt;
        throw;
    }
}

// Writing "through" a link must not turn the link into a plain file.
std::string fileBehindLinks(SftpSession& session, const std::string& path)
{
    const auto found = lookUp(session, path, false);
    return found && found->isLink() ? session.realPath(path, nullptr) : path;
}

} // namespace

SftpWriteStream::SftpWriteStream(std::shared_ptr<SftpSession> session, std::string path,
    std::optional<std::uint32_t> permissions, Door::Link link)
    : m_session(std::move(session))
    , m_path(std::move(path))
    , m_target(link == Door::Link::followed ? fileBehindLinks(*m_session, m_path) : m_path)
{
    // The bits of the file it replaces from the start: the new bytes are never readable by more
    // people than the old ones were.
    std::optional<std::uint32_t> mode = permissions;
    if (!mode)
        if (const auto old = lookUp(*m_session, m_target, false); old && old->isRegularFile())
            mode = old->permissions & 07777;
    const std::string folder = PathString::parentOrRoot(m_target);
    std::string hidden(1, '.');
    hidden += PathString::lastComponent(m_target) + ".tmp-" + Uuid::randomString();
    m_temporary = PathString::appendingComponent(folder, hidden);
    try {
        m_writer = std::make_unique<SftpFileWriter>(m_session, m_temporary, mode, JobControl::ofThisThread());
    } catch (...) {
        m_temporary.clear(); // never made: nothing of ours to remove
        throw;
    }
}

SftpWriteStream::~SftpWriteStream()
{
    // An unfinished writer removes its own file.
    if (m_writer || m_temporary.empty() || m_session->isLost())
        return;
    try {
        m_session->removeFile(m_temporary, nullptr);
    } catch (const std::exception&) {
        // Nothing more can be done from here; the hidden file's name says what it is.
    }
}

void SftpWriteStream::write(std::string_view bytes)
{
    m_writer->write(bytes);
}

void SftpWriteStream::finish()
{
    m_writer->finish();
    m_writer.reset();
}

void SftpWriteStream::commit(Replace replace)
{
    finish();
    putInPlace(m_target, replace);
    m_temporary.clear();
}

void SftpWriteStream::putInPlace(const std::string& target, Replace replace)
{
    const auto there = lookUp(*m_session, target, false);
    if (there && replace == Replace::never)
        throw KivError::alreadyExists(m_path);
    if (there && there->isFolder())
        throwSystemError(EISDIR, m_path);
    const auto how = replace == Replace::never ? SftpSession::Replace::never : SftpSession::Replace::allowed;
    try {
        m_session->rename(m_temporary, target, how, nullptr);
    } catch (const KivError&) {
        // A name taken between the look and the rename: the server's plain rename never replaces.
        if (replace == Replace::never && lookUp(*m_session, target, false))
            throw KivError::alreadyExists(m_path);
        throw;
    }
}

} // namespace kiv
