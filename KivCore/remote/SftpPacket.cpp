#include "remote/SftpPacket.h"

#include "remote/RemoteError.h"

#include <sys/stat.h>

namespace kiv {

bool SftpAttributes::isFolder() const
{
    return has(Sftp::hasPermissions) && S_ISDIR(permissions);
}

bool SftpAttributes::isLink() const
{
    return has(Sftp::hasPermissions) && S_ISLNK(permissions);
}

bool SftpAttributes::isRegularFile() const
{
    return has(Sftp::hasPermissions) && S_ISREG(permissions);
}

SftpPacketWriter::SftpPacketWriter(Sftp::Type type)
{
    m_bytes.assign(4, '\0');
    m_bytes += static_cast<char>(type);
}

SftpPacketWriter::SftpPacketWriter(Sftp::Type type, std::uint32_t id)
    : SftpPacketWriter(type)
{
    u32(id);
}

SftpPacketWriter& SftpPacketWriter::u32(std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        m_bytes += static_cast<char>((value >> shift) & 0xFF);
    return *this;
}

SftpPacketWriter& SftpPacketWriter::u64(std::uint64_t value)
{
    u32(static_cast<std::uint32_t>(value >> 32));
    return u32(static_cast<std::uint32_t>(value));
}

SftpPacketWriter& SftpPacketWriter::string(std::string_view bytes)
{
    u32(static_cast<std::uint32_t>(bytes.size()));
    m_bytes.append(bytes);
    return *this;
}

SftpPacketWriter& SftpPacketWriter::attributes(const SftpAttributes& attributes)
{
    const std::uint32_t flags = attributes.flags & ~Sftp::hasExtended;
    u32(flags);
    if (flags & Sftp::hasSize)
        u64(attributes.size);
    if (flags & Sftp::hasOwner)
        u32(attributes.uid).u32(attributes.gid);
    if (flags & Sftp::hasPermissions)
        u32(attributes.permissions);
    if (flags & Sftp::hasTimes)
        u32(attributes.accessTime).u32(attributes.modificationTime);
    return *this;
}

const std::string& SftpPacketWriter::bytes()
{
    const auto length = static_cast<std::uint32_t>(m_bytes.size() - 4);
    for (int index = 0; index < 4; ++index)
        m_bytes[index] = static_cast<char>((length >> (24 - 8 * index)) & 0xFF);
    return m_bytes;
}

SftpPacketReader::SftpPacketReader(std::string_view body)
    : m_rest(body)
{
}

std::string_view SftpPacketReader::take(std::size_t count)
{
    if (count > m_rest.size())
        throw RemoteError(RemoteError::Case::protocol, "The server sent a malformed SFTP reply");
    const auto taken = m_rest.substr(0, count);
    m_rest.remove_prefix(count);
    return taken;
}

std::uint8_t SftpPacketReader::u8()
{
    return static_cast<std::uint8_t>(take(1)[0]);
}

std::uint32_t SftpPacketReader::u32()
{
    const auto bytes = take(4);
    std::uint32_t value = 0;
    for (char byte : bytes)
        value = (value << 8) | static_cast<std::uint8_t>(byte);
    return value;
}

std::uint64_t SftpPacketReader::u64()
{
    const std::uint64_t high = u32();
    return (high << 32) | u32();
}

std::string_view SftpPacketReader::string()
{
    return take(u32());
}

SftpAttributes SftpPacketReader::attributes()
{
    SftpAttributes attributes;
    attributes.flags = u32();
    if (attributes.has(Sftp::hasSize))
        attributes.size = u64();
    if (attributes.has(Sftp::hasOwner)) {
        attributes.uid = u32();
        attributes.gid = u32();
    }
    if (attributes.has(Sftp::hasPermissions))
        attributes.permissions = u32();
    if (attributes.has(Sftp::hasTimes)) {
        attributes.accessTime = u32();
        attributes.modificationTime = u32();
    }
    if (attributes.has(Sftp::hasExtended)) {
        for (std::uint32_t count = u32(); count > 0; --count) {
            string();
            string();
        }
    }
    return attributes;
}

} // namespace kiv
