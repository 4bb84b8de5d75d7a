#pragma once

class QWidget;

namespace kiv {

class ArchiveService;
class FileSystemService;
class PanelPair;

// What a command works with, instead of the whole window: the two panels (the active one is the
// source, the other the target), the window its dialogs are centred on, and the core services.
// Everything referred to outlives the commands.
struct CommandContext
{
    PanelPair& panels;
    QWidget& dialogParent;
    const FileSystemService& files;
    const ArchiveService& archives;
};

} // namespace kiv
