#pragma once

#include "files/FileStamp.h"
#include "jobs/Job.h"

#include <memory>
#include <string>

namespace kiv {

class Door;

// Reads one file through its door (a server's file) into a temporary copy on this machine, as a
// job, for the viewer, which reads real files: progress by bytes, and a cancel or a failure that
// leaves no copy and no copy folder behind.
class FetchJob : public Job
{
public:
    // Fetches the file at `path` behind `door` (a link is followed) once run.
    FetchJob(std::shared_ptr<const Door> door, std::string path);

    std::string title() const override { return "Fetch"; }
    // "Fetch sftp://user@host/a.txt".
    std::string description() const override;
    // Nothing of this machine but a new folder of its own.
    JobFootprint footprint() const override { return {}; }
    // Fails as the door does, and on what is no regular file.
    JobOutcome run(JobControl& control) override;

    // Returns the door and the path of the file fetched.
    const std::shared_ptr<const Door>& door() const { return m_door; }
    const std::string& path() const { return m_path; }
    // Returns the copy's path, in a folder of its own (TemporaryCopy) named as the file, or "" until
    // a run has completed.
    const std::string& copy() const { return m_copy; }
    // Returns the file's size and time as they were just before it was read, once a run has
    // completed: what a later write back checks the file against.
    const std::optional<FileStamp>& stamp() const { return m_stamp; }

private:
    void fetchInto(const std::string& copy, JobControl& control) const;

    std::shared_ptr<const Door> m_door;
    std::string m_path;
    std::string m_copy;
    std::optional<FileStamp> m_stamp;
};

} // namespace kiv
