#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace kiv {

// How the user answers a job's question. Conflicts take the first six, item errors retry, skip,
// skipAll and cancel, an unknown host key trust or cancel, a question for text reply or cancel, a
// file changed since it was read overwrite or cancel.
enum class JobAnswer
{
    overwrite,
    overwriteAll,
    skip,
    skipAll,
    overwriteAllOlder, // replace only targets older than their source, from now on
    keepBoth, // the new item takes a free name beside the old one
    retry,
    trust, // connect and remember the server's key
    reply, // the text asked for was typed (JobControl::askText gives it)
    cancel,
};

// One side of a conflict, as the question shows it.
struct JobItemFacts
{
    std::string path;
    std::int64_t size = 0;
    std::optional<std::chrono::system_clock::time_point> modified;
    bool isFolder = false;

    bool operator==(const JobItemFacts&) const = default;
};

// What a job asks while it works: a target name that is taken, or an item that failed.
struct JobQuestion
{
    enum class Kind
    {
        conflict, // `source` is to go where `target` already is
        itemError, // `message` says what failed; `source.path` is the item
        hostKey, // `source.path` is an unknown server, `message` its key's type and fingerprint
        secret, // `message` is the server's prompt for a password or passphrase, `source.path` the place
        changed, // the file `target.path` changed since it was read: `source` as it was read, `target`
                 // as it is now; answered overwrite or cancel
    };

    Kind kind = Kind::itemError;
    JobItemFacts source;
    JobItemFacts target;
    std::string message;
    bool echoesReply = false; // a secret question whose answer may show as it is typed

    bool operator==(const JobQuestion&) const = default;
};

} // namespace kiv
