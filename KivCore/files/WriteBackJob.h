#pragma once

#include "files/FileStamp.h"
#include "jobs/Job.h"

#include <memory>
#include <optional>
#include <string>

namespace kiv {

class Door;

// Writes the editor's bytes over the file they were read from, through that file's door, as a job:
// the bytes go to a temporary name beside the file and take its place only once whole, the file's
// permission bits kept (WriteStream; on this machine AtomicFile, which also keeps links and hard
// links), so a failed or cancelled save leaves the file as it was and no temporary file. A file that changed since it was read (its
// size or time) is written over only when the user answers so.
class WriteBackJob : public Job
{
public:
    // Writes `bytes` to the file at `path` behind `door` once run; `read` is the file's stamp when
    // it was read (nothing for a file that was not there).
    WriteBackJob(
        std::shared_ptr<const Door> door, std::string path, std::string bytes, std::optional<FileStamp> read);

    std::string title() const override { return "Save"; }
    // "Save sftp://user@host/a.txt", "Save /home/me/a.txt".
    std::string description() const override;
    // Nothing another job would wait for: the file is written whole or not at all.
    JobFootprint footprint() const override { return {}; }
    // Completes once the bytes are in place; ends cancelled, by the user's choice, when the file
    // changed and the user did not answer overwrite; fails with the reason when the place refuses.
    JobOutcome run(JobControl& control) override;

    // Returns the file's stamp as this job left it, once it completed: what the next save checks.
    const std::optional<FileStamp>& written() const { return m_written; }

private:
    bool mayWrite(JobControl& control) const;
    void writeBytes(JobControl& control) const;
    std::optional<FileStamp> stampAfterWriting() const;

    std::shared_ptr<const Door> m_door;
    std::string m_path;
    std::string m_bytes;
    std::optional<FileStamp> m_read;
    std::optional<FileStamp> m_written;
};

} // namespace kiv
