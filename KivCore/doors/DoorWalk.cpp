#include "doors/DoorWalk.h"

#include "base/ErrorText.h"
#include "base/KivError.h"
#include "doors/Door.h"
#include "jobs/JobControl.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace kiv {

DoorWalk::DoorWalk(const Door& door, Visit visit, Refusal refused, JobControl* control)
    : m_door(door)
    , m_visit(std::move(visit))
    , m_refused(std::move(refused))
    , m_control(control)
{
}

void DoorWalk::walk(const std::string& root)
{
    walkFolder(root);
}

void DoorWalk::walkFolder(const std::string& folder)
{
    std::vector<FileEntry> rows;
    // A refusal is the folder's own: its neighbours may well be read.
    try {
        rows = m_door.list(folder, Door::HiddenFiles::show, Door::ListingOrder::asListed, m_control);
    } catch (const std::filesystem::filesystem_error& error) {
        m_refused(folder, std::generic_category().message(error.code().value()));
        return;
    } catch (const KivError& error) {
        m_refused(folder, userMessage(error));
        return;
    }
    for (const FileEntry& row : rows) {
        if (row.kind == FileEntry::Kind::parentDirectory)
            continue;
        if (m_control)
            m_control->throwIfCancelled();
        m_visit(folder, row);
        if (row.kind == FileEntry::Kind::directory)
            walkFolder(row.id);
    }
}

} // namespace kiv
