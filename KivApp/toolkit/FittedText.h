#pragma once

#include <QStringList>

class QFontMetrics;

// Fitting a dialog's text into its width without cutting a sentence: the words that are paths
// (those holding a "/") give way first, shortened in their middle to their start, "…" and their
// end, so the words around them and the end of each path (the item's name) stay.
namespace kiv::FittedText {

// Returns `line` as it fits `width` pixels in `metrics`: unchanged when it fits, else with its
// paths shortened just enough, all to the same length; when even the shortest paths leave it too
// wide (or it holds none), cut at the end with "…".
QString line(const QString& line, const QFontMetrics& metrics, int width);

// Returns `text` broken into lines of at most `width` pixels at its blanks, a path that is wider
// than a line on its own shortened in its middle to fit one; no word of a sentence is cut.
QStringList wrapped(const QString& text, const QFontMetrics& metrics, int width);

} // namespace kiv::FittedText
