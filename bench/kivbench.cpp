#include "archives/ArchiveService.h"
#include "archives/ArchiveTree.h"
#include "archives/PackJob.h"
#include "base/ErrorText.h"
#include "base/ZoneFile.h"
#include "compare/FileCompareJob.h"
#include "files/DeleteJob.h"
#include "files/FilePreviewReader.h"
#include "files/HexPager.h"
#include "files/FileSystemService.h"
#include "files/FolderSizeJob.h"
#include "files/TransferJob.h"
#include "jobs/JobControl.h"
#include "jobs/JobThread.h"
#include "remote/RemotePlace.h"
#include "files/DoorCopyJob.h"
#include "remote/SftpDoor.h"
#include "remote/SftpSession.h"
#include "search/FindJob.h"
#include "search/FindResults.h"
#include "sync/FolderComparison.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

// Runs one core operation on real input and prints one line, so the whole process can be
// timed beside a standard tool working on the same input.
namespace {

int usage()
{
    std::fprintf(stderr,
        "usage: kivbench list DIR [--hidden]\n"
        "       kivbench copy SRC DSTDIR       (either may be sftp://[user@]host[:port]/path)\n"
        "       kivbench remote-list URL       (sftp://[user@]host[:port]/path)\n"
        "       kivbench delete PATH\n"
        "       kivbench archive FILE\n"
        "       kivbench children FILE PREFIX\n"
        "       kivbench extract FILE MEMBER DSTDIR\n"
        "       kivbench pack DST SRC...\n"
        "       kivbench view FILE\n"
        "       kivbench find ROOT PATTERN\n"
        "       kivbench grep ROOT TEXT\n"
        "       kivbench dirsize ROOT\n"
        "       kivbench compare FILE1 FILE2\n"
        "       kivbench sync-compare LEFT RIGHT [--content]\n");
    return 2;
}

int listCommand(int argc, char** argv)
{
    if (argc < 3)
        return usage();
    using Hidden = kiv::FileSystemService::HiddenFiles;
    auto hidden = argc > 3 && std::strcmp(argv[3], "--hidden") == 0 ? Hidden::show : Hidden::hide;
    auto rows = kiv::FileSystemService().list(argv[2], hidden, kiv::Door::ListingOrder::byName, nullptr);
    std::printf("%zu\n", rows.size());
    return 0;
}

// Runs a file job here, as the program's worker thread would: prints "ok", or its summary.
int runJob(kiv::Job&& job)
{
    kiv::JobControl control;
    const auto outcome = kiv::JobThread::runHere(job, control);
    if (outcome.end != kiv::JobOutcome::End::completed) {
        std::fprintf(stderr, "%s\n", outcome.summary.c_str());
        return 1;
    }
    std::printf("ok\n");
    return 0;
}

// Connects as the program does, with nobody to answer: the host must be in known_hosts already
// and the login work without a password (agent or key).
std::shared_ptr<kiv::SftpSession> connectTo(const kiv::RemotePlace& place)
{
    kiv::JobControl control;
    return kiv::SftpSession::open(place, control);
}

// One side of a copy: a server's folder (its path taken as given, absolute) or one of this machine.
std::pair<std::shared_ptr<const kiv::Door>, std::string> sideOf(const char* argument)
{
    if (const auto place = kiv::RemotePlace::parse(argument)) {
        kiv::JobControl control;
        return { kiv::SftpDoor::open(*place, control), place->path };
    }
    return { kiv::FileSystemService::shared(), std::filesystem::absolute(argument).string() };
}

// A copy from, to or between servers.
int remoteCopyCommand(const char* source, const char* target)
{
    const auto [from, sourcePath] = sideOf(source);
    const auto [to, targetPath] = sideOf(target);
    return runJob(kiv::DoorCopyJob(from, { sourcePath }, to, targetPath));
}

// Lists a folder on a server, as a panel entering it would: prints the number of entries.
int remoteListCommand(int argc, char** argv)
{
    const auto place = argc == 3 ? kiv::RemotePlace::parse(argv[2]) : std::nullopt;
    if (!place)
        return usage();
    const auto session = connectTo(*place);
    std::printf("%zu\n", session->list(session->realPath(place->path, nullptr), nullptr).size());
    return 0;
}

int copyCommand(int argc, char** argv)
{
    if (argc != 4)
        return usage();
    if (kiv::RemotePlace::looksRemote(argv[2]) || kiv::RemotePlace::looksRemote(argv[3]))
        return remoteCopyCommand(argv[2], argv[3]);
    const auto sources = std::vector<std::string> { std::filesystem::absolute(argv[2]).string() };
    return runJob(kiv::TransferJob(kiv::TransferJob::Mode::copy, kiv::TransferJob::keepingNames(sources),
        std::filesystem::absolute(argv[3]).string()));
}

int deleteCommand(int argc, char** argv)
{
    if (argc != 3)
        return usage();
    return runJob(kiv::DeleteJob({ std::filesystem::absolute(argv[2]).string() }));
}

// The raw listing of an archive, then the rows of its root folder.
int archiveCommand(int argc, char** argv)
{
    if (argc != 3)
        return usage();
    auto rawEntries = kiv::ArchiveService().listRawEntries(argv[2]);
    const std::size_t listed = rawEntries.size();
    const kiv::ArchiveTree tree(std::move(rawEntries));
    auto rootRows = tree.children("", kiv::ArchiveTree::ParentRow::include);
    std::printf("%zu raw entries, %zu root rows\n", listed, rootRows.size());
    return 0;
}

// One listing, then the rows of one folder 100 times, as a panel moving about an archive would.
int childrenCommand(int argc, char** argv)
{
    if (argc != 4)
        return usage();
    const kiv::ArchiveTree tree(kiv::ArchiveService().listRawEntries(argv[2]));
    std::size_t rowCount = 0;
    for (int round = 0; round < 100; ++round)
        rowCount = tree.children(argv[3], kiv::ArchiveTree::ParentRow::include).size();
    std::printf("%zu\n", rowCount);
    return 0;
}

// Takes one member out of an archive into DSTDIR, as F5 out of an archive does.
int extractCommand(int argc, char** argv)
{
    if (argc != 5)
        return usage();
    kiv::ArchiveService().extract(argv[2], argv[3], kiv::ArchiveService::Member::file, argv[4]);
    std::printf("ok\n");
    return 0;
}

// Packs the SRC items into the new archive DST, its format by its suffix.
int packCommand(int argc, char** argv)
{
    if (argc < 4)
        return usage();
    // The job takes absolute paths, as the panels give them.
    std::vector<std::string> sources;
    for (int index = 3; index < argc; ++index)
        sources.push_back(std::filesystem::absolute(argv[index]).string());
    kiv::PackJob job(std::move(sources), std::filesystem::absolute(argv[2]).string());
    kiv::JobControl control;
    const auto outcome = kiv::JobThread::runHere(job, control);
    std::printf("%s\n", outcome.summary.c_str());
    return outcome.end == kiv::JobOutcome::End::completed ? 0 : 1;
}

// Prints how the viewer would show FILE ("text", "hex" or "unreadable") and the length of that text,
// or for the dump the bytes it reaches.
int viewCommand(int argc, char** argv)
{
    if (argc != 3)
        return usage();
    const auto preview = kiv::FilePreviewReader::load(argv[2]);
    using Kind = kiv::PreviewText::Preview::Kind;
    const char* kind = preview.kind == Kind::text ? "text"
        : preview.kind == Kind::hexDump           ? "hex"
                                                  : "unreadable";
    const auto length = preview.kind == Kind::hexDump ? std::size_t(kiv::HexPager(argv[2]).size())
                                                      : preview.content.size();
    std::printf("%s %zu\n", kind, length);
    return 0;
}

// Runs a search as the find dialog would (binary files searched too, as grep does) and prints
// the number of hits.
int searchCommand(const kiv::FindQuery& query)
{
    auto results = std::make_shared<kiv::FindResults>();
    kiv::FindJob job(query, results);
    kiv::JobControl control;
    kiv::JobThread::runHere(job, control);
    std::printf("%zu\n", results->hitCount());
    return 0;
}

int findCommand(int argc, char** argv)
{
    if (argc != 4)
        return usage();
    kiv::FindQuery query;
    query.root = argv[2];
    query.namePatterns = argv[3];
    query.letterCase = kiv::NamePatterns::LetterCase::matched;
    return searchCommand(query);
}

int grepCommand(int argc, char** argv)
{
    if (argc != 4)
        return usage();
    kiv::FindQuery query;
    query.root = argv[2];
    query.text = argv[3];
    query.letterCase = kiv::NamePatterns::LetterCase::matched;
    query.binaries = kiv::TextSearch::Binaries::searched;
    return searchCommand(query);
}

// Prints the bytes of the regular files below ROOT, hard links counted once.
int dirsizeCommand(int argc, char** argv)
{
    if (argc != 3)
        return usage();
    const auto size = kiv::FolderSizeJob::measure(argv[2], nullptr);
    std::printf("%lld\n", static_cast<long long>(size.bytes));
    return 0;
}

// Compares two files line by line as the viewer's comparison does; prints its summary.
int compareCommand(int argc, char** argv)
{
    if (argc != 4)
        return usage();
    kiv::FileCompareJob job(argv[2], argv[3]);
    kiv::JobControl control;
    const auto outcome = kiv::JobThread::runHere(job, control);
    std::printf("%s\n", outcome.summary.c_str());
    return outcome.end == kiv::JobOutcome::End::completed ? 0 : 1;
}

// Compares two folder trees as a synchronization does; prints the number of differences.
int syncCompareCommand(int argc, char** argv)
{
    if (argc < 4)
        return usage();
    const bool content = argc > 4 && std::strcmp(argv[4], "--content") == 0;
    using Mode = kiv::FolderComparison::Mode;
    const auto items = kiv::FolderComparison::compare(
        argv[2], argv[3], content ? Mode::content : Mode::sizeAndTime, nullptr);
    std::printf("%zu\n", items.size());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage();
    kiv::ZoneFile::keepLoaded(); // as the program does
    std::string command = argv[1];
    try {
        if (command == "list")
            return listCommand(argc, argv);
        if (command == "copy")
            return copyCommand(argc, argv);
        if (command == "remote-list")
            return remoteListCommand(argc, argv);
        if (command == "delete")
            return deleteCommand(argc, argv);
        if (command == "archive")
            return archiveCommand(argc, argv);
        if (command == "children")
            return childrenCommand(argc, argv);
        if (command == "extract")
            return extractCommand(argc, argv);
        if (command == "pack")
            return packCommand(argc, argv);
        if (command == "view")
            return viewCommand(argc, argv);
        if (command == "find")
            return findCommand(argc, argv);
        if (command == "grep")
            return grepCommand(argc, argv);
        if (command == "dirsize")
            return dirsizeCommand(argc, argv);
        if (command == "compare")
            return compareCommand(argc, argv);
        if (command == "sync-compare")
            return syncCompareCommand(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kivbench: %s\n", kiv::userMessage(error).c_str());
        return 1;
    }
    return usage();
}
