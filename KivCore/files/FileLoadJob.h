#pragma once

#include "files/EditableText.h"
#include "files/FileStamp.h"
#include "jobs/Job.h"
#include "text/PreviewText.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kiv {

class Door;

// Reads one file for the viewer or the editor, as a job, so that a slow or dead disk never holds
// the window: a file of this machine is read where it lies, any other (an archive's member, a
// server's file) is fetched into a temporary copy first (FetchJob). A link that leads to a folder,
// to nothing or round in a loop is refused with the reason.
class FileLoadJob : public Job
{
public:
    // What the file is read for.
    enum class Purpose
    {
        viewing, // judged as text or dump (FilePreviewReader), in the form asked for
        editing, // taken as the editor takes it (EditableText)
    };

    // Reads the file at `path` behind `door` once run; `form` is how the viewer shows it.
    FileLoadJob(std::shared_ptr<const Door> door, std::string path, Purpose purpose,
        PreviewText::Form form = PreviewText::Form::judged);

    std::string title() const override { return m_purpose == Purpose::viewing ? "View" : "Edit"; }
    // "Read /home/me/a.txt".
    std::string description() const override;
    // Changes nothing but a copy folder of its own.
    JobFootprint footprint() const override { return {}; }
    // Fails with the reason on a link that leads to no file, and as the door does.
    JobOutcome run(JobControl& control) override;

    // Returns the door and the path of the file read.
    const std::shared_ptr<const Door>& door() const { return m_door; }
    const std::string& path() const { return m_path; }
    // Returns the file on this machine that was read, the file itself or its copy, once completed.
    const std::string& file() const { return m_file; }
    // Returns the file's size and time as they were when read, once completed (nothing for a file
    // that is not there): what a later save checks the file against.
    const std::optional<FileStamp>& stamp() const { return m_stamp; }
    // Returns what the viewer shows, once a run for viewing completed.
    const PreviewText::Preview& preview() const { return m_preview; }
    // Returns what the editor takes, once a run for editing completed.
    const EditableText::Loaded& text() const { return m_text; }

private:
    void readHere(const std::string& path, JobControl* counting);

    std::shared_ptr<const Door> m_door;
    std::string m_path;
    Purpose m_purpose;
    PreviewText::Form m_form;
    std::string m_file;
    std::optional<FileStamp> m_stamp;
    PreviewText::Preview m_preview;
    EditableText::Loaded m_text;
};

} // namespace kiv
