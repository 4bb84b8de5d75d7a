#include "search/FindJob.h"

#include "archives/ArchiveService.h"
#include "base/ErrorText.h"
#include "base/FileEntry.h"
#include "base/KivError.h"
#include "base/PathString.h"
#include "doors/Door.h"
#include "doors/DoorWalk.h"
#include "doors/ReadStream.h"
#include "files/TreeWalk.h"
#include "jobs/JobCancelled.h"
#include "jobs/JobControl.h"
#include "search/FindResults.h"
#include "text/KivFormat.h"

#include <filesystem>
#include <optional>

namespace kiv {

namespace {

// No pattern at all asks for every name, as an empty field in the dialog means.
std::string_view patternsText(const std::string& typed)
{
    return typed.find_first_not_of(" \t;,") == std::string::npos ? std::string_view("*") : typed;
}

} // namespace

FindJob::FindJob(FindQuery query, std::shared_ptr<FindResults> results, std::shared_ptr<const Door> door)
    : m_query(std::move(query))
    , m_results(std::move(results))
    , m_door(std::move(door))
{
}

std::string FindJob::title() const
{
    return "Find";
}

std::string FindJob::description() const
{
    return "Find " + std::string(patternsText(m_query.namePatterns))
        + (m_query.text.empty() ? "" : " holding \"" + m_query.text + "\"") + " in "
        + (m_door ? m_door->displayPath(m_query.root) : m_query.root);
}

// A footprint names paths of this machine only.
JobFootprint FindJob::footprint() const
{
    return m_door ? JobFootprint {} : JobFootprint { { m_query.root }, {} };
}

JobOutcome FindJob::run(JobControl& control)
{
    const NamePatterns patterns(patternsText(m_query.namePatterns), m_query.letterCase);
    std::optional<TextSearch> text;
    if (!m_query.text.empty())
        text.emplace(m_query.text, m_query.letterCase, m_query.words, m_query.binaries);
    control.startWorking();
    std::int64_t searched = 0;
    bool cancelled = false;
    try {
        if (m_door)
            searchDoor(patterns, text ? &*text : nullptr, control, searched);
        else
            searchDisk(patterns, text ? &*text : nullptr, control, searched);
    } catch (const JobCancelled&) {
        cancelled = true;
    }
    std::string summary = "Found " + KivFormat::grouped(std::int64_t(m_results->hitCount())) + " of "
        + KivFormat::grouped(searched) + " items";
    const std::size_t refusals = m_results->refusals().size();
    if (refusals > 0)
        summary += "; " + KivFormat::grouped(std::int64_t(refusals)) + " could not be read";
    if (cancelled)
        return { JobOutcome::End::cancelled, summary + "; stopped" };
    return { refusals > 0 ? JobOutcome::End::incomplete : JobOutcome::End::completed, summary };
}

void FindJob::searchDisk(
    const NamePatterns& patterns, TextSearch* text, JobControl& control, std::int64_t& searched) const
{
    const auto visit = [&](const TreeWalk::Item& item) {
        searched += 1;
        const bool archive = m_query.archives == FindQuery::Archives::searched && item.isRegularFile
            && FileEntry::kindForRegularFile(item.name) == FileEntry::Kind::archive;
        if (archive && !text)
            searchArchive(PathString::appendingComponent(item.folder, item.name), patterns);
        if (!patterns.matches(item.name))
            return;
        if (text) {
            if (!item.isRegularFile)
                return;
            const std::string path = PathString::appendingComponent(item.folder, item.name);
            try {
                if (!text->foundIn(item.folderFd, item.name, path))
                    return;
            } catch (const std::exception& error) {
                m_results->addRefusal(userMessage(error));
                return;
            }
        }
        m_results->addHit({ item.folder, item.name, false, {} });
    };
    const auto refused
        = [&](const std::string& path, const std::string& why) { m_results->addRefusal(why + ": " + path); };
    TreeWalk(TreeWalk::Detail::kind, visit, refused, &control).walk(m_query.root);
}

// A file the place refuses to read is a refusal; a lost connection ends the search.
void FindJob::searchDoor(
    const NamePatterns& patterns, TextSearch* text, JobControl& control, std::int64_t& searched) const
{
    const auto holdsText = [&](const FileEntry& row) {
        try {
            return text->foundIn(*m_door->read(row.id));
        } catch (const std::filesystem::filesystem_error& error) {
            m_results->addRefusal(userMessage(error));
        } catch (const KivError& error) {
            m_results->addRefusal(userMessage(error));
        }
        return false;
    };
    const auto visit = [&](const std::string& folder, const FileEntry& row) {
        searched += 1;
        if (!patterns.matches(row.name))
            return;
        const bool isFile = row.kind == FileEntry::Kind::regularFile || row.kind == FileEntry::Kind::archive;
        if (text && (!isFile || !holdsText(row)))
            return;
        m_results->addHit({ folder, row.name, false, {} });
    };
    const auto refused
        = [&](const std::string& path, const std::string& why) { m_results->addRefusal(why + ": " + path); };
    DoorWalk(*m_door, visit, refused, &control).walk(m_query.root);
}

// Members are matched by their own name; what the archive library cannot read is a refusal.
void FindJob::searchArchive(const std::string& path, const NamePatterns& patterns) const
{
    try {
        for (const ArchiveRawEntry& member : ArchiveService().listRawEntries(path)) {
            std::string_view inner = member.path;
            if (!inner.empty() && inner.back() == '/')
                inner.remove_suffix(1);
            const std::size_t slash = inner.rfind('/');
            const std::string name(slash == std::string_view::npos ? inner : inner.substr(slash + 1));
            if (!name.empty() && patterns.matches(name))
                m_results->addHit({ path, name, true,
                    std::string(slash == std::string_view::npos ? "" : inner.substr(0, slash + 1)) });
        }
    } catch (const std::exception& error) {
        m_results->addRefusal(userMessage(error));
    }
}

} // namespace kiv
