#include "files/WriteBackJob.h"

#include "base/ErrorText.h"
#include "doors/Door.h"
#include "doors/WriteStream.h"
#include "files/AtomicFile.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"

#include <algorithm>

namespace kiv {

namespace {

constexpr std::size_t chunkBytes = 64 * 1024;

JobItemFacts factsOf(const std::string& path, const std::optional<FileStamp>& stamp)
{
    JobItemFacts facts;
    facts.path = path;
    if (stamp) {
        facts.size = stamp->size;
        facts.modified = stamp->modified;
    }
    return facts;
}

} // namespace

WriteBackJob::WriteBackJob(
    std::shared_ptr<const Door> door, std::string path, std::string bytes, std::optional<FileStamp> read)
    : m_door(std::move(door))
    , m_path(std::move(path))
    , m_bytes(std::move(bytes))
    , m_read(std::move(read))
{
}

std::string WriteBackJob::description() const
{
    return "Save " + m_door->displayPath(m_path);
}

JobOutcome WriteBackJob::run(JobControl& control)
{
    const std::string place = m_door->displayPath(m_path);
    control.addToTotals(1, std::ssize(m_bytes));
    control.startWorking();
    control.beginItem(m_path, std::ssize(m_bytes));
    try {
        if (!mayWrite(control))
            return { JobOutcome::End::cancelled, "Not saved: " + place + " changed since it was read", true };
        writeBytes(control);
    } catch (const JobCancelled&) {
        throw;
    } catch (const std::exception& error) {
        // The reason names the temporary file at times; the user needs the file's own place.
        return { JobOutcome::End::failed,
            "Could not save " + place + ": " + userMessage(error)
                + "\nThe file is as it was; the editor keeps the text unsaved." };
    }
    control.finishItems(1, 0);
    m_written = stampAfterWriting();
    return { JobOutcome::End::completed, "Saved " + place };
}

// Written already: a stamp that cannot be read now only makes the next save ask first.
std::optional<FileStamp> WriteBackJob::stampAfterWriting() const
{
    try {
        return FileStamp::of(*m_door, m_path);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool WriteBackJob::mayWrite(JobControl& control) const
{
    const std::optional<FileStamp> now = FileStamp::of(*m_door, m_path);
    if (now == m_read)
        return true;
    JobQuestion question;
    question.kind = JobQuestion::Kind::changed;
    question.source = factsOf(m_door->displayPath(m_path), m_read);
    question.target = factsOf(m_door->displayPath(m_path), now);
    return control.ask(question) == JobAnswer::overwrite;
}

void WriteBackJob::writeBytes(JobControl& control) const
{
    // A file of this machine is written through its link and beside its other hard links.
    if (const std::optional<std::string> local = m_door->localPath(m_path)) {
        AtomicFile::write(*local, m_bytes);
        control.addBytes(std::ssize(m_bytes));
        return;
    }
    const auto stream = m_door->write(m_path, std::nullopt, Door::Link::followed);
    for (std::size_t at = 0; at < m_bytes.size(); at += chunkBytes) {
        const std::size_t count = std::min(chunkBytes, m_bytes.size() - at);
        stream->write(std::string_view(m_bytes).substr(at, count));
        control.addBytes(static_cast<std::int64_t>(count));
        control.throwIfCancelled();
    }
    stream->commit(WriteStream::Replace::file);
}

} // namespace kiv
