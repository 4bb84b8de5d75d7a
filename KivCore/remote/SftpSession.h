#pragma once

#include "remote/RemotePlace.h"
#include "remote/SftpChannel.h"
#include "remote/SftpPacket.h"
#include "remote/SshConnection.h"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kiv {

class ItemCounter;
class JobControl;

// One entry of a folder on a server. `usable` is false for a name that cannot stand for an item
// (RemoteName::problem): such an entry is listed, never joined into a path.
struct SftpEntry
{
    std::string name;
    SftpAttributes attributes;
    bool usable = true;
};

// An SFTP conversation with one server over its own SSH connection: the operations a folder on
// another machine needs. Every call may be made from any thread (they take turns); each waits
// for its reply, throwing JobCancelled when the given control (may be null) is cancelled,
// RemoteError when the connection is lost, and for a refusal of the server the platform's error
// for its status ("No such file or directory: /x") or KivError::operationFailed with its message.
class SftpSession
{
public:
    // A pipelined transfer's bytes per request and requests kept in flight: OpenSSH's client's
    // defaults.
    static constexpr std::uint32_t blockLength = 32 * 1024;
    static constexpr std::size_t requestsInFlight = 64;

    // Replacing the target of a rename, or refusing when it is taken.
    enum class Replace
    {
        never,
        allowed,
    };

    // Connects, logs in and starts SFTP (SshConnection says how and what it may ask).
    static std::shared_ptr<SftpSession> open(const RemotePlace& place, JobControl& control,
        SshConnection::Timing timing = {});
    SftpSession(const SftpSession&) = delete;
    SftpSession& operator=(const SftpSession&) = delete;
    ~SftpSession();

    // "sftp://user@host[:port]", the server as messages name it.
    const std::string& where() const { return m_where; }
    // The place of `path` on this server, with the user, host and port connected to.
    RemotePlace placeOf(const std::string& path) const;
    // True once the connection was found lost; every call then fails at once.
    bool isLost() const;

    // The absolute form of `path` ("." or empty: the folder the server starts in).
    std::string realPath(const std::string& path, const JobControl* control);
    // The facts of `path`, following a link (stat) or not (lstat).
    SftpAttributes stat(const std::string& path, const JobControl* control);
    SftpAttributes lstat(const std::string& path, const JobControl* control);
    // The entries of the folder `path` with their facts, "." and ".." left out, in the server's order,
    // each counted into `counter` when one is given.
    std::vector<SftpEntry> list(const std::string& path, const JobControl* control, ItemCounter* counter = nullptr);
    // Where the link `path` points.
    std::string readLink(const std::string& path, const JobControl* control);
    void makeFolder(const std::string& path, std::uint32_t mode, const JobControl* control);
    void removeFile(const std::string& path, const JobControl* control);
    void removeFolder(const std::string& path, const JobControl* control);
    void makeLink(const std::string& target, const std::string& path, const JobControl* control);
    // Sets the facts of `attributes` whose flags are set on `path` (following a link, as the server does).
    void setAttributes(const std::string& path, const SftpAttributes& attributes, const JobControl* control);
    // The id of the file system `path` lies on, or nothing when the server cannot tell.
    std::optional<std::uint64_t> fileSystemId(const std::string& path, const JobControl* control);
    // Renames `from` to `to`; Replace::allowed replaces an item at `to` at once (an atomic rename
    // where the server offers one), Replace::never fails when `to` is taken.
    void rename(const std::string& from, const std::string& to, Replace replace, const JobControl* control);

    // The building blocks of SftpFileReader and SftpFileWriter.
    // Opens `path` with Sftp::OpenFlag `flags`, creating it with `attributes`; returns the handle.
    std::string openFile(const std::string& path, std::uint32_t flags, const SftpAttributes& attributes,
        const JobControl* control);
    SftpAttributes fileAttributes(const std::string& handle, const JobControl* control);
    // Sends a read or write request without waiting; returns its id for awaitReply() or abandon().
    std::uint32_t sendRead(const std::string& handle, std::uint64_t offset, std::uint32_t length);
    std::uint32_t sendWrite(const std::string& handle, std::uint64_t offset, std::string_view data);
    std::uint32_t sendSetPermissions(const std::string& handle, std::uint32_t mode);
    SftpChannel::Reply awaitReply(std::uint32_t id, const JobControl* control);
    void abandon(std::uint32_t id);
    // Waits for a status reply and throws unless it is ok; `path` names the item in the message.
    void expectOk(std::uint32_t id, const std::string& path, const JobControl* control);
    // Closes a handle; waits for the answer unless `wait` is false (a handle read to its end).
    void closeFile(const std::string& handle, const std::string& path, bool wait, const JobControl* control);

    // Throws the error a status reply's `body` stands for, about `path`.
    [[noreturn]] static void throwStatus(const std::string& body, const std::string& path);

private:
    SftpSession(const RemotePlace& place, JobControl& control, SshConnection::Timing timing);
    // Writes a request's fields after its id.
    using Fields = std::function<void(SftpPacketWriter&)>;

    void readExtensions(const std::string& versionBody);
    // Sends a request and waits for its reply, the session held meanwhile.
    SftpChannel::Reply call(Sftp::Type type, const Fields& fields, const JobControl* control);
    void callForStatus(Sftp::Type type, const Fields& fields, const std::string& path, const JobControl* control);
    // Sends a request without waiting; its id.
    std::uint32_t post(Sftp::Type type, const Fields& fields);
    static void checkStatus(const SftpChannel::Reply& reply, const std::string& path);
    static SftpPacketReader expectReply(const SftpChannel::Reply& reply, Sftp::Type type, const std::string& path);
    std::string nameRequest(Sftp::Type type, const std::string& path, const JobControl* control);
    SftpAttributes attributesRequest(Sftp::Type type, const std::string& path, const JobControl* control);
    // Reads one batch of entries into `entries`; false at the folder's end.
    bool readFolder(const std::string& handle, const std::string& path, std::vector<SftpEntry>& entries,
        const JobControl* control, ItemCounter* counter);
    // Waits for the reply to `id` under the held lock; a cancelled wait leaves the reply to be dropped.
    SftpChannel::Reply receiveHeld(std::uint32_t id, const JobControl* control);

    std::unique_ptr<SshConnection> m_connection;
    std::unique_ptr<SftpChannel> m_channel;
    std::string m_where;
    bool m_posixRename = false;
    bool m_statvfs = false;
    mutable std::mutex m_mutex;
};

} // namespace kiv
