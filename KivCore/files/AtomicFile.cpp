#include "files/AtomicFile.h"

#include "files/LocalWriteStream.h"

namespace kiv::AtomicFile {

void write(const std::string& path, std::string_view contents)
{
    LocalWriteStream stream(path, std::nullopt, Door::Link::followed);
    stream.write(contents);
    stream.commit(WriteStream::Replace::file);
}

} // namespace kiv::AtomicFile
