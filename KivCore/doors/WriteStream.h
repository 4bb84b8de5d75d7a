#pragma once

#include <string_view>

namespace kiv {

// One new file being written, as Door::write() starts it: the bytes go to a temporary name beside
// the file's own, which the file takes only at commit(), so a failure or a cancel never leaves a
// half file under the real name and replaces nothing. Used by one thread.
class WriteStream
{
public:
    // Whether commit() may take the place of an item that is there.
    enum class Replace
    {
        never, // KivError::alreadyExists when anything is there
        file, // a file there (or the file a link there points to) is replaced, keeping its owner and
              // permission bits, and flushed to disk first; a folder is never replaced (EISDIR)
    };

    // Removes the temporary file unless commit() put it in place.
    virtual ~WriteStream() = default;

    // Appends `bytes`. Throws as the door does (a full disk, a lost connection).
    virtual void write(std::string_view bytes) = 0;
    // Gives the file its name. After a failure the temporary file is removed and the item that
    // was there is as it was (where the place lets a rename replace atomically). Call once.
    virtual void commit(Replace replace) = 0;
};

} // namespace kiv
