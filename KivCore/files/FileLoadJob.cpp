#include "files/FileLoadJob.h"

#include "base/KivError.h"
#include "base/PathString.h"
#include "doors/Door.h"
#include "files/DiskItem.h"
#include "files/FetchJob.h"
#include "files/FilePreviewReader.h"
#include "jobs/JobControl.h"

namespace kiv {

namespace {

// Why the item at `path` cannot be read as a file, or nothing when it leads to one.
std::optional<std::string> linkProblem(const std::string& path)
{
    const std::string name = PathString::lastComponent(path);
    switch (DiskItem::destination(path)) {
    case DiskItem::Destination::folder:
        return name + " is a link to a folder; Return enters it.";
    case DiskItem::Destination::nothing:
        if (DiskItem::exists(path))
            return name + " points to nothing: what it names does not exist.";
        break; // a file gone: the viewer says it cannot read it, the editor starts it anew
    case DiskItem::Destination::loop:
        return name + " is a link that leads round in a loop, to no file.";
    case DiskItem::Destination::other:
        break;
    }
    return std::nullopt;
}

} // namespace

FileLoadJob::FileLoadJob(
    std::shared_ptr<const Door> door, std::string path, Purpose purpose, PreviewText::Form form)
    : m_door(std::move(door))
    , m_path(std::move(path))
    , m_purpose(purpose)
    , m_form(form)
{
}

std::string FileLoadJob::description() const
{
    return "Read " + m_door->displayPath(m_path);
}

JobOutcome FileLoadJob::run(JobControl& control)
{
    if (const std::optional<std::string> local = m_door->localPath(m_path)) {
        if (const std::optional<std::string> problem = linkProblem(*local))
            throw KivError::operationFailed(*problem);
        m_stamp = FileStamp::of(*m_door, m_path);
        const std::int64_t size = m_stamp ? m_stamp->size : 0;
        control.addToTotals(1, size);
        control.startWorking();
        control.beginItem(m_path, size);
        readHere(*local, &control);
        control.finishItems(1, 0);
    } else {
        FetchJob fetch(m_door, m_path);
        fetch.run(control);
        m_stamp = fetch.stamp();
        readHere(fetch.copy(), nullptr); // the fetch counted the bytes; the copy reads at once
    }
    return { JobOutcome::End::completed, "Read " + m_door->displayPath(m_path) };
}

void FileLoadJob::readHere(const std::string& path, JobControl* counting)
{
    if (m_purpose == Purpose::viewing)
        m_preview = FilePreviewReader::load(path, m_form, counting);
    else
        m_text = EditableText::load(path);
    m_file = path;
}

} // namespace kiv
