#pragma once

class QWidget;

namespace kiv {

class ArchiveService;
class FileSystemService;
class JobRunner;
class PanelPair;

// What a command works with, instead of the whole window: the two panels (the active one is the
// source, the other the target), the window its dialogs are centred on, the core services and
// the runner of long jobs.
// Everything referred to outlives the commands.
struct CommandContext
{
    PanelPair& panels;
    QWidget& dialogParent;
    const FileSystemService& files;
    const ArchiveService& archives;
    JobRunner& jobs;
};

} // namespace kiv
