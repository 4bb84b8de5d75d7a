#include "archives/ArchiveService.h"

#include "archives/ArchiveListingParser.h"
#include "archives/StagedExtraction.h"
#include "base/ErrorText.h"
#include "base/KivError.h"
#include "files/ArchiveFormat.h"
#include "files/TransferSession.h"
#include "jobs/JobControl.h"
#include "shell/ShellRunner.h"
#include "text/FileNameOrder.h"

#include <filesystem>
#include <system_error>
#include <unordered_set>

namespace kiv {

namespace {

// No format (an unknown suffix): listing shows nothing, extraction still hands it to tar.
using Format = std::optional<ArchiveFormat::Kind>;

// The tools would read a relative path that starts with "-" as options.
std::string toolPath(const std::string& path)
{
    return path.starts_with('-') ? "./" + path : path;
}

// unzip reads member arguments as wildcard patterns and anything starting with "-" as an
// option: escape the pattern characters (and the escape itself) so the member is taken
// literally. A folder selects its own subtree only, never siblings that share its name's start.
std::string unzipPattern(std::string_view memberPath, ArchiveService::Member member)
{
    std::string pattern = memberPath.starts_with('-') ? "\\" : "";
    pattern.reserve(memberPath.size() + 4);
    for (char c : memberPath) {
        if (c == '*' || c == '?' || c == '[' || c == '\\')
            pattern += '\\';
        pattern += c;
    }
    if (member == ArchiveService::Member::folder) {
        if (!pattern.ends_with('/'))
            pattern += '/';
        pattern += '*';
    }
    return pattern;
}

// Runs the tool until it ends or the job is cancelled, which stops it.
void runExtractionTool(
    const std::string& tool, const std::vector<std::string>& arguments, const JobControl& control)
{
    auto result = ShellRunner::runStoppable(tool, arguments, [&control] { return control.isCancelled(); });
    control.throwIfCancelled();
    if (result.exitCode != 0)
        throw KivError::operationFailed(result.stderr.empty() ? tool + " failed" : result.stderr);
}

void extractWithTar(Format format, const std::string& archivePath, const std::string& to,
    const std::vector<std::string>& members, const JobControl& control)
{
    std::vector<std::string> arguments { format == ArchiveFormat::Kind::gzippedTar ? "-xzf" : "-xf",
        toolPath(archivePath), "-C", to };
    if (!members.empty()) {
        arguments.push_back("--"); // members are data, never options
        arguments.insert(arguments.end(), members.begin(), members.end());
    }
    runExtractionTool("tar", arguments, control);
}

FileEntry virtualEntry(std::string id, std::string_view name, FileEntry::Kind kind, std::int64_t size)
{
    return FileEntry { std::move(id), std::string(name), kind, size, std::nullopt, std::nullopt };
}

} // namespace

std::vector<ArchiveRawEntry> ArchiveService::listRawEntries(const std::string& archivePath) const
{
    // The listing keeps the tool's bytes (member names are file names, not text to repair) and
    // is parsed while the tool still writes.
    auto list = [&](const char* tool, const char* option, ArchiveListingParser::Layout layout) {
        ArchiveListingParser parser(layout);
        ShellRunner::runStreaming(tool, { option, toolPath(archivePath) }, std::nullopt,
            [&](std::string_view bytes) { parser.append(bytes); });
        return parser.finish();
    };
    const Format format = ArchiveFormat::of(archivePath);
    if (!format)
        return {};
    switch (*format) {
    case ArchiveFormat::Kind::zip:
        return list("unzip", "-l", ArchiveListingParser::Layout::zip);
    case ArchiveFormat::Kind::gzippedTar:
        return list("tar", "-tzvf", ArchiveListingParser::Layout::tar);
    case ArchiveFormat::Kind::plainTar:
        return list("tar", "-tvf", ArchiveListingParser::Layout::tar);
    }
    return {};
}

std::vector<FileEntry> ArchiveService::children(
    std::string_view prefix, const std::vector<ArchiveRawEntry>& rawEntries, ParentRow parentRow) const
{
    // One pass: every member below the prefix yields either its first path segment (a folder,
    // once) or, when nothing follows, a file. Names stay views into the raw entries until the
    // order is known, so each row is built once, in place.
    std::unordered_set<std::string_view> seenFolders;
    std::vector<std::string_view> folderNames;
    std::vector<std::string_view> fileNames;
    std::vector<const ArchiveRawEntry*> fileMembers;
    for (const auto& entry : rawEntries) {
        std::string_view path(entry.path);
        if (!path.starts_with(prefix) || path.size() == prefix.size())
            continue;
        auto rest = path.substr(prefix.size());
        auto slash = rest.find('/');
        if (slash == std::string_view::npos) {
            fileNames.push_back(rest);
            fileMembers.push_back(&entry);
        } else if (slash > 0 && seenFolders.insert(rest.substr(0, slash)).second) {
            folderNames.push_back(rest.substr(0, slash));
        }
    }
    auto folderOrder = FileNameOrder::sortedOrder(folderNames);
    auto fileOrder = FileNameOrder::sortedOrder(fileNames);

    std::vector<FileEntry> rows;
    rows.reserve(folderNames.size() + fileNames.size() + 1);
    if (parentRow == ParentRow::include)
        rows.push_back(virtualEntry(parentOf(prefix), "..", FileEntry::Kind::parentDirectory, 0));
    for (auto index : folderOrder) {
        auto name = folderNames[index];
        auto id = std::string(prefix).append(name).append("/");
        rows.push_back(virtualEntry(std::move(id), name, FileEntry::Kind::directory, 0));
    }
    for (auto index : fileOrder) {
        auto name = fileNames[index];
        const auto& member = *fileMembers[index];
        rows.push_back(virtualEntry(member.path, name, FileEntry::kindForRegularFile(name), member.size));
    }
    return rows;
}

std::string ArchiveService::parentOf(std::string_view prefix) const
{
    if (prefix.empty())
        return {};
    prefix.remove_suffix(1);
    auto slash = prefix.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(prefix.substr(0, slash + 1));
}

void ArchiveService::extract(const std::string& archivePath, const std::string& internalEntryPath,
    Member member, const std::string& to, TransferSession& session) const
{
    auto format = ArchiveFormat::of(archivePath);
    session.control.beginItem(archivePath + "/" + internalEntryPath, 0);
    StagedExtraction::run(to, session, [&](const std::string& staging) {
        if (format == ArchiveFormat::Kind::zip)
            runExtractionTool("unzip",
                { "-o", toolPath(archivePath), unzipPattern(internalEntryPath, member), "-d", staging },
                session.control);
        else
            extractWithTar(format, archivePath, staging, { internalEntryPath }, session.control);
    });
}

void ArchiveService::extract(const std::string& archivePath, const std::string& internalEntryPath,
    Member member, const std::string& to) const
{
    JobControl control;
    TransferSession session(control);
    extract(archivePath, internalEntryPath, member, to, session);
}

void ArchiveService::extractAll(
    const std::string& archivePath, const std::string& to, TransferSession& session) const
{
    auto format = ArchiveFormat::of(archivePath);
    session.control.beginItem(archivePath, 0);
    StagedExtraction::run(to, session, [&](const std::string& staging) {
        if (format == ArchiveFormat::Kind::zip)
            runExtractionTool("unzip", { "-o", toolPath(archivePath), "-d", staging }, session.control);
        else
            extractWithTar(format, archivePath, staging, {}, session.control);
    });
}

} // namespace kiv
