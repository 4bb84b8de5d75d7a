#include "archives/ArchiveMemberStream.h"

#include "base/KivError.h"

#include <archive.h>
#include <archive_entry.h>

namespace kiv {

ArchiveMemberStream::ArchiveMemberStream(const std::string& archivePath, const std::string& member)
    : m_reader(archivePath, member)
{
    while (archive_entry* entry = m_reader.next()) {
        if (ArchiveReader::memberPath(entry) != member)
            continue;
        if (archive_entry_filetype(entry) != AE_IFREG)
            throw KivError::operationFailed("Not a file in " + archivePath + ": " + member);
        if (archive_entry_is_encrypted(entry))
            throw KivError::operationFailed("Encrypted, so it cannot be read: " + member);
        m_size = archive_entry_size(entry);
        return;
    }
    throw KivError::operationFailed("Not in " + archivePath + ": " + member);
}

std::size_t ArchiveMemberStream::read(std::span<char> buffer)
{
    const la_ssize_t count = archive_read_data(m_reader.handle(), buffer.data(), buffer.size());
    if (count < 0)
        m_reader.fail();
    return static_cast<std::size_t>(count);
}

} // namespace kiv
