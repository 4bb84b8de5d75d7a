#pragma once

#include "text/PreviewText.h"

#include <string>

namespace kiv {
class JobControl;
}

// Reads a file for the viewer, deciding whether it reads as text or must be shown as a hex dump,
// reading no more of a binary file than the dump needs.
namespace kiv::FilePreviewReader {

// Reads the file at `path` block by block and returns it whole as text while every byte so far
// is valid UTF-8 without NUL; at the first NUL or invalid sequence it stops reading and says the
// file is to be dumped. Form::text and Form::hexDump skip the judging. Never throws for
// file-system failures (they give Kind::unreadable) and never blocks on a FIFO without a writer.
// With `control`, counts the bytes read and stops between blocks once it is cancelled (throwing as
// JobControl::throwIfCancelled does).
PreviewText::Preview load(
    const std::string& path, PreviewText::Form form = PreviewText::Form::judged, JobControl* control = nullptr);

} // namespace kiv::FilePreviewReader
