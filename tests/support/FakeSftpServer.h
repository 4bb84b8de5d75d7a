#pragma once

#include "remote/RemotePlace.h"
#include "remote/SftpPacket.h"

#include <atomic>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <libssh/libssh.h>
#include <libssh/server.h>
#include <map>
#include <poll.h>
#include <string>
#include <thread>
#include <vector>

#include "ScopedEnvironment.h"
#include "SshServer.h"
#include "TempDir.h"

namespace kiv::test {

// An SSH server of the test's own, on libssh, for what a real sshd run by the tests cannot do:
// log in with a password or keyboard-interactive (no user account needed) and list names no
// file system holds ("a/b", "x\0y"), or list one name twice. It serves a made-up tree over a
// small SFTP of its own. The client's $HOME is a fresh folder whose known_hosts trusts it.
class FakeSftpServer
{
public:
    // One item of the made-up tree.
    struct Item
    {
        SftpAttributes attributes;
        std::string content; // a file's bytes, or a link's target
    };
    // A folder's listing: names with their items, in the order the server sends them.
    using Listing = std::vector<std::pair<std::string, Item>>;

    // Logs in whoever types `secret`, asked as a password or by keyboard-interactive prompts.
    enum class Login
    {
        password,
        keyboardInteractive,
    };

    explicit FakeSftpServer(Login login, std::string secret = "open sesame")
        : m_login(login)
        , m_secret(std::move(secret))
        , m_home(scratch.folder("home/.ssh"))
        , m_homeVariable("HOME", (scratch / "home").c_str())
        , m_agentVariable("SSH_AUTH_SOCK", nullptr)
    {
        const std::string key = scratch / "host_key";
        EXPECT_EQ(std::system(("ssh-keygen -q -t ed25519 -N '' -f '" + key + "'").c_str()), 0);
        m_bind = ssh_bind_new();
        port = freeLoopbackPort();
        const unsigned int bindPort = static_cast<unsigned int>(port);
        ssh_bind_options_set(m_bind, SSH_BIND_OPTIONS_BINDADDR, "127.0.0.1");
        ssh_bind_options_set(m_bind, SSH_BIND_OPTIONS_BINDPORT, &bindPort);
        ssh_bind_options_set(m_bind, SSH_BIND_OPTIONS_HOSTKEY, key.c_str());
        EXPECT_EQ(ssh_bind_listen(m_bind), SSH_OK) << ssh_get_error(m_bind);
        std::ofstream(scratch / "home/.ssh/known_hosts") << "[127.0.0.1]:" << port << " " << readFile(key + ".pub");
        m_thread = std::thread([this] { serve(); });
    }
    FakeSftpServer(const FakeSftpServer&) = delete;
    FakeSftpServer& operator=(const FakeSftpServer&) = delete;
    ~FakeSftpServer()
    {
        m_stopping = true;
        m_thread.join();
        ssh_bind_free(m_bind);
    }

    RemotePlace place(const std::string& path = {}) const { return { "tester", "127.0.0.1", port, path }; }

    // The made-up tree: folders by path, each with its listing. Set before connecting.
    std::map<std::string, Listing> folders;

    static Item file(std::string content)
    {
        SftpAttributes attributes;
        attributes.flags = Sftp::hasSize | Sftp::hasPermissions | Sftp::hasTimes;
        attributes.size = content.size();
        attributes.permissions = 0100644;
        attributes.modificationTime = 1'600'000'000;
        return { attributes, std::move(content) };
    }
    static Item folder() { return { withMode(040755), {} }; }
    static Item link(std::string target) { return { withMode(0120777), std::move(target) }; }

    TempDir scratch;
    int port = 0;
    std::atomic<int> logins { 0 };

private:
    static SftpAttributes withMode(std::uint32_t mode)
    {
        SftpAttributes attributes;
        attributes.flags = Sftp::hasPermissions;
        attributes.permissions = mode;
        return attributes;
    }

    void serve()
    {
        while (!m_stopping) {
            pollfd waiting { ssh_bind_get_fd(m_bind), POLLIN, 0 };
            if (::poll(&waiting, 1, 50) <= 0)
                continue;
            ssh_session session = ssh_new();
            if (ssh_bind_accept(m_bind, session) == SSH_OK && ssh_handle_key_exchange(session) == SSH_OK)
                if (ssh_channel channel = logIn(session)) {
                    speakSftp(channel);
                    ssh_channel_free(channel);
                }
            ssh_disconnect(session);
            ssh_free(session);
        }
    }

    bool checkAnswer(ssh_session session, ssh_message message)
    {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        if (ssh_message_subtype(message) == SSH_AUTH_METHOD_PASSWORD)
            return m_login == Login::password && ssh_message_auth_password(message) == m_secret;
#pragma GCC diagnostic pop
        if (ssh_message_subtype(message) != SSH_AUTH_METHOD_INTERACTIVE || m_login != Login::keyboardInteractive)
            return false;
        if (!ssh_message_auth_kbdint_is_response(message)) {
            const char* prompts[] = { "Verification code: " };
            char echo[] = { 0 };
            ssh_message_auth_interactive_request(message, "", "Type the code.", 1, prompts, echo);
            return false;
        }
        return ssh_userauth_kbdint_getnanswers(session) == 1 && ssh_userauth_kbdint_getanswer(session, 0) == m_secret;
    }

    // Answers the client's messages until it asks for the sftp subsystem: that channel, or null.
    ssh_channel logIn(ssh_session session)
    {
        ssh_set_auth_methods(session,
            m_login == Login::password ? SSH_AUTH_METHOD_PASSWORD : SSH_AUTH_METHOD_INTERACTIVE);
        ssh_channel channel = nullptr;
        while (ssh_message message = ssh_message_get(session)) {
            const int type = ssh_message_type(message);
            bool answered = false;
            if (type == SSH_REQUEST_AUTH && checkAnswer(session, message)) {
                ++logins;
                answered = ssh_message_auth_reply_success(message, 0) == SSH_OK;
            } else if (type == SSH_REQUEST_AUTH && ssh_message_subtype(message) == SSH_AUTH_METHOD_INTERACTIVE
                && !ssh_message_auth_kbdint_is_response(message) && m_login == Login::keyboardInteractive) {
                answered = true; // the prompts went out
            } else if (type == SSH_REQUEST_CHANNEL_OPEN && ssh_message_subtype(message) == SSH_CHANNEL_SESSION) {
                channel = ssh_message_channel_request_open_reply_accept(message);
                answered = channel != nullptr;
            } else if (type == SSH_REQUEST_CHANNEL && ssh_message_subtype(message) == SSH_CHANNEL_REQUEST_SUBSYSTEM
                && std::string(ssh_message_channel_request_subsystem(message)) == "sftp") {
                ssh_message_channel_request_reply_success(message);
                ssh_message_free(message);
                return channel;
            }
            if (!answered)
                ssh_message_reply_default(message);
            ssh_message_free(message);
        }
        return nullptr;
    }

    // Reads one whole packet from the channel: its bytes after the length, or empty at the end.
    static std::string readPacket(ssh_channel channel)
    {
        const auto readExactly = [channel](std::string& into, std::size_t count) {
            into.resize(count);
            std::size_t got = 0;
            while (got < count) {
                const int n = ssh_channel_read(channel, into.data() + got, static_cast<std::uint32_t>(count - got), 0);
                if (n <= 0)
                    return false;
                got += static_cast<std::size_t>(n);
            }
            return true;
        };
        std::string length;
        std::string body;
        if (!readExactly(length, 4))
            return {};
        SftpPacketReader reader(length);
        return readExactly(body, reader.u32()) ? body : std::string();
    }

    static void send(ssh_channel channel, SftpPacketWriter& packet)
    {
        const std::string& bytes = packet.bytes();
        ssh_channel_write(channel, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    }

    static void status(ssh_channel channel, std::uint32_t id, Sftp::Status code)
    {
        SftpPacketWriter packet(Sftp::status, id);
        packet.u32(code).string("").string("");
        send(channel, packet);
    }

    // The item at `path` in the made-up tree, or null.
    const Item* itemAt(const std::string& path) const
    {
        const auto slash = path.rfind('/');
        const auto folder = folders.find(slash == 0 ? "/" : path.substr(0, slash));
        if (folder == folders.end())
            return path == "/" ? &m_root : nullptr;
        for (const auto& [name, item] : folder->second)
            if (name == path.substr(slash + 1))
                return &item;
        return nullptr;
    }

    void answer(ssh_channel channel, std::uint8_t type, std::uint32_t id, SftpPacketReader& request)
    {
        switch (type) {
        case Sftp::realpath: {
            SftpPacketWriter packet(Sftp::name, id);
            packet.u32(1).string("/").string("").attributes({});
            return send(channel, packet);
        }
        case Sftp::opendir: {
            const std::string path(request.string());
            if (!folders.count(path))
                return status(channel, id, Sftp::noSuchFile);
            m_handles[path] = false;
            SftpPacketWriter packet(Sftp::handle, id);
            packet.string(path);
            return send(channel, packet);
        }
        case Sftp::readdir: {
            const std::string path(request.string());
            if (std::exchange(m_handles[path], true))
                return status(channel, id, Sftp::endOfFile);
            SftpPacketWriter packet(Sftp::name, id);
            packet.u32(static_cast<std::uint32_t>(folders[path].size()));
            for (const auto& [name, item] : folders[path])
                packet.string(name).string(name).attributes(item.attributes);
            return send(channel, packet);
        }
        case Sftp::stat:
        case Sftp::lstat:
        case Sftp::open:
        case Sftp::readlink: {
            const std::string path(request.string());
            const Item* item = itemAt(path);
            if (!item)
                return status(channel, id, Sftp::noSuchFile);
            SftpPacketWriter packet(type == Sftp::open ? Sftp::handle : type == Sftp::readlink ? Sftp::name : Sftp::attrs, id);
            if (type == Sftp::open)
                packet.string(path);
            else if (type == Sftp::readlink)
                packet.u32(1).string(item->content).string("").attributes({});
            else
                packet.attributes(item->attributes);
            return send(channel, packet);
        }
        case Sftp::read: {
            const std::string path(request.string());
            const std::uint64_t offset = request.u64();
            const std::uint32_t length = request.u32();
            const Item* item = itemAt(path);
            if (!item || offset >= item->content.size())
                return status(channel, id, Sftp::endOfFile);
            SftpPacketWriter packet(Sftp::data, id);
            packet.string(std::string_view(item->content).substr(offset, length));
            return send(channel, packet);
        }
        case Sftp::close:
            return status(channel, id, Sftp::ok);
        default:
            return status(channel, id, Sftp::unsupported);
        }
    }

    void speakSftp(ssh_channel channel)
    {
        for (std::string body = readPacket(channel); !body.empty(); body = readPacket(channel)) {
            SftpPacketReader request(body);
            const std::uint8_t type = request.u8();
            if (type == Sftp::init) {
                SftpPacketWriter version(Sftp::version);
                version.u32(3);
                send(channel, version);
                continue;
            }
            const std::uint32_t id = request.u32();
            answer(channel, type, id, request);
        }
    }

    Login m_login;
    std::string m_secret;
    std::string m_home;
    ScopedEnvironment m_homeVariable;
    ScopedEnvironment m_agentVariable;
    ssh_bind m_bind = nullptr;
    std::atomic<bool> m_stopping { false };
    std::thread m_thread;
    std::map<std::string, bool> m_handles; // open folder handles, and whether they were read
    Item m_root = folder();
};

} // namespace kiv::test
