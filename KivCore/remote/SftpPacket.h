#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kiv {

// The numbers of version 3 of the SFTP protocol, the one OpenSSH speaks.
namespace Sftp {

enum Type : std::uint8_t
{
    init = 1,
    version = 2,
    open = 3,
    close = 4,
    read = 5,
    write = 6,
    lstat = 7,
    fstat = 8,
    setstat = 9,
    fsetstat = 10,
    opendir = 11,
    readdir = 12,
    remove = 13,
    mkdir = 14,
    rmdir = 15,
    realpath = 16,
    stat = 17,
    rename = 18,
    readlink = 19,
    symlink = 20,
    status = 101,
    handle = 102,
    data = 103,
    name = 104,
    attrs = 105,
    extended = 200,
    extendedReply = 201,
};

enum Status : std::uint32_t
{
    ok = 0,
    endOfFile = 1,
    noSuchFile = 2,
    permissionDenied = 3,
    failure = 4,
    badMessage = 5,
    noConnection = 6,
    connectionLost = 7,
    unsupported = 8,
};

enum OpenFlag : std::uint32_t
{
    openRead = 0x01,
    openWrite = 0x02,
    openCreate = 0x08,
    openTruncate = 0x10,
    openExclusive = 0x20,
};

enum AttributeFlag : std::uint32_t
{
    hasSize = 0x01,
    hasOwner = 0x02,
    hasPermissions = 0x04,
    hasTimes = 0x08,
    hasExtended = 0x80000000,
};

} // namespace Sftp

// A file's facts as an SFTP server gives them; a fact is there when its flag is set.
struct SftpAttributes
{
    std::uint32_t flags = 0;
    std::uint64_t size = 0;
    std::uint32_t uid = 0;
    std::uint32_t gid = 0;
    std::uint32_t permissions = 0; // st_mode: type and permission bits
    std::uint32_t accessTime = 0;
    std::uint32_t modificationTime = 0;

    bool has(Sftp::AttributeFlag flag) const { return (flags & flag) != 0; }
    bool isFolder() const;
    bool isLink() const;
    bool isRegularFile() const;

    bool operator==(const SftpAttributes&) const = default;
};

// Builds one packet: its length, type and request id first, then the fields in order.
class SftpPacketWriter
{
public:
    // Starts a packet of `type`; `id` is left out for init (which has none).
    SftpPacketWriter(Sftp::Type type, std::uint32_t id);
    explicit SftpPacketWriter(Sftp::Type type);

    SftpPacketWriter& u32(std::uint32_t value);
    SftpPacketWriter& u64(std::uint64_t value);
    SftpPacketWriter& string(std::string_view bytes);
    // Only the facts whose flags are set.
    SftpPacketWriter& attributes(const SftpAttributes& attributes);

    // The whole packet, its length filled in.
    const std::string& bytes();

private:
    std::string m_bytes;
};

// Reads the fields of one packet's body in order; any read past its end throws a protocol error.
class SftpPacketReader
{
public:
    explicit SftpPacketReader(std::string_view body);

    std::uint8_t u8();
    std::uint32_t u32();
    std::uint64_t u64();
    std::string_view string();
    SftpAttributes attributes();
    bool atEnd() const { return m_rest.empty(); }

private:
    std::string_view take(std::size_t count);

    std::string_view m_rest;
};

} // namespace kiv
