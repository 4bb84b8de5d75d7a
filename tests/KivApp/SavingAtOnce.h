#pragma once

#include "base/PathString.h"
#include "files/FileSystemService.h"
#include "files/WriteBackJob.h"
#include "jobs/JobControl.h"
#include "viewer/PanelEditorView.h"

#include <memory>

namespace kiv::test {

// Saves an editor's text to the file at `path` as the program does, by a WriteBackJob, but at once
// on this thread.
inline PanelEditorView::SaveBack savingAtOnce(const std::string& path)
{
    const auto disk = FileSystemService::shared();
    auto read = std::make_shared<std::optional<FileStamp>>(FileStamp::of(*disk, path));
    return { QString::fromStdString(PathString::lastComponent(path)),
        [disk, path, read](std::string bytes, std::function<void(bool written)> done) {
            WriteBackJob job(disk, path, std::move(bytes), *read);
            JobControl control;
            const bool written = job.run(control).end == JobOutcome::End::completed;
            if (written)
                *read = job.written();
            done(written);
        } };
}

} // namespace kiv::test
