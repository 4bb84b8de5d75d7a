#pragma once

#include "doors/Door.h"
#include "remote/RemotePlace.h"
#include "remote/SshConnection.h"

#include <memory>
#include <mutex>
#include <string>

namespace kiv {

class SftpSession;

// Folders on another machine as a door: the server's files listed, looked at, read and written
// over one SFTP connection that every panel and job on that server shares (open() hands out the
// door already open to a server). Paths are absolute paths on the server. A name the server lists
// that cannot be a file name (RemoteName) is listed under a look-alike that names nothing outside
// the folder. Once the connection is lost every member throws RemoteError::connectionLost, until
// reconnect() makes a new one: nothing is ever done on another place instead. A member called on a
// job's thread stops waiting on a silent server once that job is cancelled (JobControl::ofThisThread),
// throwing JobCancelled; elsewhere it waits until the silence counts as a lost connection.
class SftpDoor : public Door
{
public:
    // Returns the door to the server of `place`: the one open to it already (reconnected first
    // when its connection was lost), else a new one, connecting and logging in through `control`,
    // which hears the questions (an unknown host key, a password). Throws RemoteError or
    // JobCancelled as SftpSession::open does.
    static std::shared_ptr<const SftpDoor> open(
        const RemotePlace& place, JobControl& control, SshConnection::Timing timing = {});

    // Returns the server as connected to: user, host and port (when not 22), no path.
    const RemotePlace& server() const { return m_server; }
    // Returns whether the connection was found lost.
    bool isLost() const;
    // Makes a new connection in place of a lost one, asking through `control`; nothing when the
    // connection works. Throws as open() does, leaving the door lost.
    void reconnect(JobControl& control) const;
    // Returns the absolute form of `path` on the server; "" is the folder the login starts in.
    std::string absolutePath(const std::string& path, JobControl* control) const;
    // Returns the connection, for work that speaks SFTP itself; it throws once lost.
    std::shared_ptr<SftpSession> session() const;

    Kind kind() const override;
    // Doors to one user on one host and port.
    bool isSamePlace(const Door& other) const override;
    // "sftp://user@host/path" (":port" when not 22), the path's bytes as they are.
    std::string displayPath(const std::string& folder) const override;
    const DoorItem* container() const override;
    // Nothing: no item of a server is on the local disk.
    std::optional<std::string> localPath(const std::string& path) const override;
    std::vector<FileEntry> list(const std::string& folder, HiddenFiles hiddenFiles, ListingOrder order,
        JobControl* control) const override;
    std::optional<ItemInfo> info(const std::string& path, Link link) const override;
    std::unique_ptr<ReadStream> read(const std::string& path) const override;
    std::unique_ptr<WriteStream> write(
        const std::string& path, std::optional<std::uint32_t> permissions, Link link) const override;
    void makeFolder(const std::string& path) const override;
    void makeLink(const std::string& target, const std::string& path) const override;
    // Permission bits and modification time; nothing for a link, whose facts a server cannot set
    // without changing what it points to.
    void keepAttributes(const std::string& path, const ItemInfo& like) const override;
    void rename(const std::string& from, const std::string& to) const override;
    void remove(const std::string& path) const override;
    void removeTree(const std::string& path, ItemFailures& failures, JobControl& control) const override;
    // True for two items of one server on one of its file systems (where the server can tell, else
    // for any two items of one server).
    bool sharesFileSystem(const std::string& path, const Door& other, const std::string& otherPath) const override;

private:
    SftpDoor(RemotePlace dialled, std::shared_ptr<SftpSession> session, SshConnection::Timing timing);
    // Takes `fresh` as the connection when the one held is lost; returns whether it did.
    bool adopt(std::shared_ptr<SftpSession> fresh) const;
    // Throws KivError::alreadyExists for `path` when anything is there; rethrows the failure else.
    [[noreturn]] void explainRefusal(const std::string& path) const;

    RemotePlace m_dialled; // as the user named the server, so that a reconnection takes the same way
    RemotePlace m_server;
    SshConnection::Timing m_timing;
    mutable std::mutex m_mutex;
    mutable std::shared_ptr<SftpSession> m_session; // under the mutex
};

} // namespace kiv
