#pragma once

#include "base/FileEntry.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

namespace kiv {

// Watches one folder and the files in it for changes made by anyone, and reports a burst of
// changes once, shortly after it began.
class FolderWatcher : public QObject
{
    Q_OBJECT
public:
    // Watches nothing until watch() is called.
    explicit FolderWatcher(QObject* parent = nullptr);

    // Watches the folder `path` and, when there are not too many, the regular files among its
    // listed `entries`, instead of what was watched before; an empty `path` watches nothing.
    void watch(const std::string& path, const std::vector<FileEntry>& entries);

    // Returns the folders watched now: the one asked for, or none.
    QStringList folders() const { return m_watcher.directories(); }

    // Called about a fifth of a second after the first change of a burst, if set.
    std::function<void()> onChange;

private:
    void changed();

    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QStringList m_watched;
};

} // namespace kiv
