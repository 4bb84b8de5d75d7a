#pragma once

#include <QFont>
#include <QTextDocument>

#include <memory>
#include <string_view>

namespace kiv {

// The text a viewer window shows, as a document. Building one from a long file takes seconds
// (the bytes become characters, then blocks), so it is built on the job's thread and only laid
// out on the window's.
namespace ViewerTextDocument {

// The font the viewer shows text in.
QFont font();

// Returns a document holding `text` (UTF-8) in `font`, with no undo history, owned by nobody and
// living on the calling thread (any thread: it touches no widget). The lines of a long text are
// gathered into blocks of 64, joined by line separators that show and copy as line breaks: a
// document pays for every block it holds.
std::unique_ptr<QTextDocument> build(std::string_view text, const QFont& font);

} // namespace ViewerTextDocument

} // namespace kiv
