#include "panels/FolderWatcher.h"

#include "base/PathString.h"

#include <QFile>
#include <algorithm>

namespace kiv {

namespace {

// A folder tells of names that come and go; only a watch on the file itself tells that another
// program wrote it. Past this many files the cost of the watches outweighs seeing sizes grow.
constexpr std::size_t mostWatchedFiles = 2'000;
// The first change of a burst starts this wait; the rest of the burst joins the one relisting.
constexpr int settleMilliseconds = 200;

QString fileSystemName(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace

FolderWatcher::FolderWatcher(QObject* parent)
    : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleMilliseconds);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        if (onChange)
            onChange();
    });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &FolderWatcher::changed);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &FolderWatcher::changed);
}

void FolderWatcher::watch(const std::string& path, const std::vector<FileEntry>& entries)
{
    const auto isFile = [](const FileEntry& entry) { return entry.kind == FileEntry::Kind::regularFile; };
    QStringList wanted;
    if (!path.empty()) {
        wanted << fileSystemName(path);
        // Counted before any name is built: a big folder is relisted often and watches no file.
        if (std::size_t(std::count_if(entries.begin(), entries.end(), isFile)) <= mostWatchedFiles) {
            for (const FileEntry& entry : entries) {
                if (isFile(entry))
                    wanted << fileSystemName(PathString::appendingComponent(path, entry.name));
            }
        }
    }
    // A relisting that found the same names keeps the watches it has, unless some went with
    // their file (a file saved by replacing it comes back under the same name).
    if (wanted == m_watched && m_watcher.files().size() + m_watcher.directories().size() == wanted.size())
        return;
    if (!m_watcher.files().isEmpty() || !m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.files() + m_watcher.directories());
    if (!wanted.isEmpty())
        m_watcher.addPaths(wanted);
    m_watched = wanted;
}

void FolderWatcher::changed()
{
    if (!m_settle.isActive())
        m_settle.start();
}

} // namespace kiv
