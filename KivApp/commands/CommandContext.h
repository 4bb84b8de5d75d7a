#pragma once

class QWidget;

namespace kiv {

class ArchiveService;
class FileSystemService;
class JobRunner;
class OperationHistory;
class PanelPair;
class Trash;

// What a command works with, instead of the whole window: the two panels (the active one is the
// source, the other the target), the window its dialogs are centred on, the core services, the
// runner of long jobs and the history the operations that can be undone are recorded in.
// Everything referred to outlives the commands.
struct CommandContext
{
    PanelPair& panels;
    QWidget& dialogParent;
    const FileSystemService& files;
    const ArchiveService& archives;
    JobRunner& jobs;
    const Trash& trash;
    OperationHistory& history;
};

} // namespace kiv
