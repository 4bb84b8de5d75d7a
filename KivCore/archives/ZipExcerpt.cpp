#include "archives/ZipExcerpt.h"

#include <algorithm>
#include <archive.h>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace kiv {

namespace {

constexpr std::uint32_t entrySignature = 0x02014b50;
constexpr std::uint32_t endSignature = 0x06054b50;
constexpr std::uint32_t zip64EndSignature = 0x06064b50;
constexpr std::uint32_t zip64LocatorSignature = 0x07064b50;
constexpr std::size_t endSize = 22;
constexpr std::size_t zip64EndSize = 56;
constexpr std::size_t zip64LocatorSize = 20;
constexpr std::size_t entrySize = 46;
constexpr std::size_t longestComment = 0xFFFF;
constexpr std::uint16_t unicodePathField = 0x7075;
constexpr std::size_t memberReadBlock = 64 * 1024; // the members read are few: small reads

std::uint64_t le(std::string_view bytes, std::size_t at, int width)
{
    std::uint64_t value = 0;
    for (int i = width; i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

std::size_t le16(std::string_view bytes, std::size_t at)
{
    return static_cast<std::size_t>(le(bytes, at, 2));
}

void appendLe(std::string& bytes, std::uint64_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes += static_cast<char>(value >> (8 * i) & 0xFF);
}

// Where the directory lies and how many entries it has.
struct Directory
{
    std::int64_t offset = 0;
    std::int64_t size = 0;
    std::uint64_t entries = 0;
};

// Reads `size` bytes at `offset` into `into` and returns how many; fewer at the end of the file
// or on a read error, which the archive library then meets and reports when it reads the file whole.
std::size_t readInto(int fd, std::int64_t offset, char* into, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(
            fd, into + done, size - done, static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

std::string readAt(int fd, std::int64_t offset, std::size_t size)
{
    std::string bytes(size, '\0');
    bytes.resize(readInto(fd, offset, bytes.data(), size));
    return bytes;
}

// The end record: the last signature whose record (with its comment) fits in the file.
std::optional<std::size_t> findEnd(std::string_view last)
{
    if (last.size() < endSize)
        return std::nullopt;
    for (std::size_t at = last.size() - endSize + 1; at-- > 0;) {
        if (le(last, at, 4) == endSignature && at + endSize + le16(last, at + 20) <= last.size())
            return at;
    }
    return std::nullopt;
}

// The directory as the zip64 end record the locator `locator` points at gives it.
std::optional<Directory> zip64Directory(int fd, std::string_view locator)
{
    if (le(locator, 4, 4) != 0 || le(locator, 16, 4) != 1)
        return std::nullopt;
    const auto at = static_cast<std::int64_t>(le(locator, 8, 8));
    const std::string record = readAt(fd, at, zip64EndSize);
    if (record.size() != zip64EndSize || le(record, 0, 4) != zip64EndSignature || le(record, 16, 8) != 0
        || le(record, 24, 8) != le(record, 32, 8))
        return std::nullopt;
    const Directory directory { static_cast<std::int64_t>(le(record, 48, 8)),
        static_cast<std::int64_t>(le(record, 40, 8)), le(record, 32, 8) };
    if (directory.size < 0 || directory.size > at || directory.offset != at - directory.size)
        return std::nullopt;
    return directory;
}

// Where the directory of the zip open at `fd` lies: right before its end records, on one disk.
std::optional<Directory> locate(int fd, std::int64_t fileSize)
{
    const auto lastSize
        = static_cast<std::size_t>(std::min<std::int64_t>(fileSize, endSize + longestComment));
    const std::int64_t lastOffset = fileSize - static_cast<std::int64_t>(lastSize);
    const std::string last = readAt(fd, lastOffset, lastSize);
    const auto end = last.size() == lastSize ? findEnd(last) : std::nullopt;
    if (!end || le(last, *end + 4, 4) != 0)
        return std::nullopt;
    if (*end >= zip64LocatorSize && le(last, *end - zip64LocatorSize, 4) == zip64LocatorSignature)
        return zip64Directory(fd, std::string_view(last).substr(*end - zip64LocatorSize, zip64LocatorSize));
    const Directory directory { static_cast<std::int64_t>(le(last, *end + 16, 4)),
        static_cast<std::int64_t>(le(last, *end + 12, 4)), le(last, *end + 10, 2) };
    if (le(last, *end + 8, 2) != directory.entries
        || directory.offset + directory.size != lastOffset + static_cast<std::int64_t>(*end))
        return std::nullopt;
    return directory;
}

// The end records of a directory of `entries` entries, `size` bytes at `offset`: zip64 ones,
// which hold any count, and the classic one after them with what fits.
std::string endRecords(std::uint64_t entries, std::int64_t size, std::int64_t offset)
{
    std::string records;
    appendLe(records, zip64EndSignature, 4);
    appendLe(records, zip64EndSize - 12, 8);
    appendLe(records, 45, 2); // made by and needed: the zip64 version
    appendLe(records, 45, 2);
    appendLe(records, 0, 8); // this disk and the directory's
    appendLe(records, entries, 8);
    appendLe(records, entries, 8);
    appendLe(records, static_cast<std::uint64_t>(size), 8);
    appendLe(records, static_cast<std::uint64_t>(offset), 8);
    appendLe(records, zip64LocatorSignature, 4);
    appendLe(records, 0, 4);
    appendLe(records, static_cast<std::uint64_t>(offset + size), 8);
    appendLe(records, 1, 4); // disks
    appendLe(records, endSignature, 4);
    appendLe(records, 0, 4);
    appendLe(records, std::min<std::uint64_t>(entries, 0xFFFF), 2);
    appendLe(records, std::min<std::uint64_t>(entries, 0xFFFF), 2);
    appendLe(records, std::min<std::uint64_t>(static_cast<std::uint64_t>(size), 0xFFFFFFFF), 4);
    appendLe(records, std::min<std::uint64_t>(static_cast<std::uint64_t>(offset), 0xFFFFFFFF), 4);
    appendLe(records, 0, 2); // no comment
    return records;
}

// Hands each entry of `directory` to `visit`, whole, reading the directory in pieces through one
// buffer. False when an entry is damaged or the directory does not end where its last entry does.
template <typename Visit> bool forEachEntry(int fd, const Directory& directory, Visit visit)
{
    // Small, so that it stays in the cache and costs few page faults; it grows for a longer entry.
    std::string buffer(64 * 1024, '\0');
    std::size_t start = 0;
    std::size_t end = 0;
    std::int64_t next = directory.offset; // the file offset of buffer[end]
    const std::int64_t stop = directory.offset + directory.size;
    // Whether `needed` bytes from `start` are in the buffer, after reading more if they are not.
    const auto have = [&](std::size_t needed) {
        if (end - start >= needed)
            return true;
        std::memmove(buffer.data(), buffer.data() + start, end - start);
        end -= start;
        start = 0;
        buffer.resize(std::max(buffer.size(), needed));
        const auto wanted = static_cast<std::size_t>(
            std::min<std::int64_t>(static_cast<std::int64_t>(buffer.size() - end), stop - next));
        const std::size_t got = readInto(fd, next, buffer.data() + end, wanted);
        end += got;
        next += static_cast<std::int64_t>(got);
        return end - start >= needed;
    };
    for (std::uint64_t entry = 0; entry < directory.entries; ++entry) {
        if (!have(entrySize) || le(buffer, start, 4) != entrySignature)
            return false;
        const std::size_t length
            = entrySize + le16(buffer, start + 28) + le16(buffer, start + 30) + le16(buffer, start + 32);
        if (!have(length))
            return false;
        visit(std::string_view(buffer).substr(start, length));
        start += length;
    }
    return start == end && next == stop;
}

// Whether the program is sure to see the entry's path exactly as its bytes: the library
// converts names that are not ASCII, ends them at a zero byte and may read "\" as a separator or
// take a Unicode path field instead, and a path is made safe (ArchiveMemberPath) when it starts with "/" or
// has an empty,
// "." or ".." step. One pass over the name: this runs for every entry of the directory.
bool seenAsStored(std::string_view name, std::string_view extra)
{
    std::size_t stepStart = 0;
    for (std::size_t at = 0; at <= name.size(); ++at) {
        const auto c = at < name.size() ? static_cast<unsigned char>(name[at]) : '/';
        if (c >= 0x80 || c == '\\' || c == '\0')
            return false;
        if (c != '/')
            continue;
        const auto step = name.substr(stepStart, at - stepStart);
        if ((step.empty() && at < name.size()) || step == "." || step == "..")
            return false;
        stepStart = at + 1;
    }
    for (std::size_t at = 0; at + 4 <= extra.size(); at += 4 + le16(extra, at + 2)) {
        if (le16(extra, at) == unicodePathField)
            return false;
    }
    return true;
}

bool inScope(std::string_view name, std::string_view scope)
{
    return name.starts_with(scope) && (name.size() == scope.size() || name[scope.size()] == '/');
}

} // namespace

std::optional<ZipExcerpt> ZipExcerpt::of(int fd, std::int64_t fileSize, std::string_view scope)
{
    const auto found = locate(fd, fileSize);
    if (!found)
        return std::nullopt;
    std::string tail;
    std::uint64_t kept = 0;
    const bool whole = forEachEntry(fd, *found, [&](std::string_view entry) {
        const auto name = entry.substr(entrySize, le16(entry, 28));
        const auto extra = entry.substr(entrySize + name.size(), le16(entry, 30));
        if (inScope(name, scope) || !seenAsStored(name, extra)) {
            tail += entry;
            ++kept;
        }
    });
    if (!whole)
        return std::nullopt;
    tail += endRecords(kept, static_cast<std::int64_t>(tail.size()), found->offset);
    return ZipExcerpt(fd, found->offset, std::move(tail));
}

ZipExcerpt::ZipExcerpt(int fd, std::int64_t directoryOffset, std::string tail)
    : m_fd(fd)
    , m_directoryOffset(directoryOffset)
    , m_tail(std::move(tail))
{
}

int ZipExcerpt::open(archive* reading)
{
    archive_read_set_callback_data(reading, this);
    archive_read_set_read_callback(reading, &ZipExcerpt::read);
    archive_read_set_seek_callback(reading, &ZipExcerpt::seek);
    archive_read_set_skip_callback(reading, &ZipExcerpt::skip);
    return archive_read_open1(reading);
}

std::int64_t ZipExcerpt::size() const
{
    return m_directoryOffset + static_cast<std::int64_t>(m_tail.size());
}

ssize_t ZipExcerpt::read(archive* reading, void* self, const void** buffer)
{
    auto& excerpt = *static_cast<ZipExcerpt*>(self);
    const std::int64_t position = excerpt.m_position;
    if (position >= excerpt.m_directoryOffset) {
        // The shortened directory is handed out as it is, from where the reader stands.
        const std::string& tail = excerpt.m_tail;
        const auto from = static_cast<std::size_t>(std::min<std::int64_t>(
            position - excerpt.m_directoryOffset, static_cast<std::int64_t>(tail.size())));
        *buffer = tail.data() + from;
        const auto given = static_cast<ssize_t>(tail.size() - from);
        excerpt.m_position += given;
        return given;
    }
    excerpt.m_block.resize(memberReadBlock);
    const auto wanted
        = static_cast<std::size_t>(std::min<std::int64_t>(memberReadBlock, excerpt.m_directoryOffset - position));
    const std::size_t got = readInto(excerpt.m_fd, position, excerpt.m_block.data(), wanted);
    if (got == 0) {
        // The file ended (or could not be read) before the directory it names.
        archive_set_error(reading, EIO, "the archive cannot be read up to its directory");
        return ARCHIVE_FATAL;
    }
    *buffer = excerpt.m_block.data();
    excerpt.m_position += static_cast<std::int64_t>(got);
    return static_cast<ssize_t>(got);
}

std::int64_t ZipExcerpt::seek(archive*, void* self, std::int64_t offset, int whence)
{
    auto& excerpt = *static_cast<ZipExcerpt*>(self);
    const std::int64_t base = whence == SEEK_SET ? 0
        : whence == SEEK_CUR                     ? excerpt.m_position
                                                 : excerpt.size();
    if (base + offset < 0)
        return ARCHIVE_FATAL;
    excerpt.m_position = base + offset;
    return excerpt.m_position;
}

std::int64_t ZipExcerpt::skip(archive*, void* self, std::int64_t request)
{
    auto& excerpt = *static_cast<ZipExcerpt*>(self);
    const std::int64_t skipped
        = std::max<std::int64_t>(0, std::min(request, excerpt.size() - excerpt.m_position));
    excerpt.m_position += skipped;
    return skipped;
}

} // namespace kiv
