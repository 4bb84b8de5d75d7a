#include "archives/ArchiveMemberStream.h"

#include "archives/ArchiveMemberPath.h"
#include "base/KivError.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <cstring>

namespace kiv {

ArchiveMemberStream::ArchiveMemberStream(const std::string& archivePath, const std::string& member)
{
    // The target comes first in the archive: it is read anew from the start.
    if (const std::optional<std::string> target = open(archivePath, member); target && *target != member)
        open(archivePath, *target);
}

std::optional<std::string> ArchiveMemberStream::open(const std::string& archivePath, const std::string& member)
{
    m_reader.emplace(archivePath, member);
    while (archive_entry* entry = m_reader->next()) {
        if (ArchiveReader::memberPath(entry) != member)
            continue;
        // A tar's hard link has no type of its own, and no data.
        if (const char* target = archive_entry_hardlink(entry); target && archive_entry_size(entry) == 0)
            return ArchiveMemberPath::safe(target, false);
        if (archive_entry_filetype(entry) != AE_IFREG)
            throw KivError::operationFailed("Not a file in " + archivePath + ": " + member);
        if (archive_entry_is_encrypted(entry))
            throw KivError::operationFailed("Encrypted, so it cannot be read: " + member);
        m_size = archive_entry_size(entry);
        return std::nullopt;
    }
    throw KivError::operationFailed("Not in " + archivePath + ": " + member);
}

// Block by block, so that a member the library finds damaged throws instead of reading wrong.
std::size_t ArchiveMemberStream::read(std::span<char> buffer)
{
    if (buffer.empty())
        return 0;
    if (!haveBlock())
        return zeros(buffer, m_size);
    if (m_blockAt > m_position)
        return zeros(buffer, m_blockAt);
    const std::size_t count = std::min(buffer.size(), m_left);
    std::memcpy(buffer.data(), m_block, count);
    m_block += count;
    m_left -= count;
    m_blockAt += static_cast<std::int64_t>(count);
    m_position += static_cast<std::int64_t>(count);
    return count;
}

bool ArchiveMemberStream::haveBlock()
{
    while (m_left == 0 && !m_ended) {
        const void* block = nullptr;
        if (!m_reader->nextBlock(block, m_left, m_blockAt)) {
            m_ended = true;
            m_left = 0;
        }
        m_block = static_cast<const char*>(block);
    }
    return m_left > 0;
}

std::size_t ArchiveMemberStream::zeros(std::span<char> buffer, std::int64_t end)
{
    if (end <= m_position)
        return 0;
    const auto count = static_cast<std::size_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(buffer.size()), end - m_position));
    std::memset(buffer.data(), 0, count);
    m_position += static_cast<std::int64_t>(count);
    return count;
}

} // namespace kiv
