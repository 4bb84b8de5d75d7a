#include "toolkit/FittedText.h"

#include <QFontMetrics>
#include <algorithm>

namespace kiv::FittedText {

namespace {

// A path shortened below this many characters would no longer say which one it is.
constexpr qsizetype shortestPath = 9;
const QChar ellipsis(0x2026);

bool isPath(const QString& word)
{
    return word.contains(u'/');
}

// The first third and the last two thirds: the end of a path names the item.
QString shortened(const QString& path, qsizetype length)
{
    if (path.size() <= length)
        return path;
    const qsizetype head = std::max<qsizetype>(length / 3, 1);
    return path.left(head) + ellipsis + path.right(length - head - 1);
}

QString joinedWithPathsAtMost(const QStringList& words, qsizetype length)
{
    QStringList shown;
    for (const QString& word : words)
        shown.append(isPath(word) ? shortened(word, length) : word);
    return shown.join(u' ');
}

} // namespace

QString line(const QString& line, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(line) <= width)
        return line;
    const QStringList words = line.split(u' ');
    qsizetype longest = 0;
    for (const QString& word : words)
        longest = isPath(word) ? std::max(longest, word.size()) : longest;
    if (longest <= shortestPath)
        return metrics.elidedText(line, Qt::ElideRight, width);
    // The longest length every path may keep with the line still fitting, found by halving.
    qsizetype fits = shortestPath;
    for (qsizetype tooLong = longest; tooLong - fits > 1;) {
        const qsizetype middle = (fits + tooLong) / 2;
        if (metrics.horizontalAdvance(joinedWithPathsAtMost(words, middle)) <= width)
            fits = middle;
        else
            tooLong = middle;
    }
    return metrics.elidedText(joinedWithPathsAtMost(words, fits), Qt::ElideRight, width);
}

QStringList wrapped(const QString& text, const QFontMetrics& metrics, int width)
{
    QStringList lines;
    QString current;
    for (const QString& word : text.split(u' ')) {
        const QString shown = isPath(word) ? line(word, metrics, width) : word;
        const QString longer = current.isEmpty() ? shown : current + u' ' + shown;
        if (current.isEmpty() || metrics.horizontalAdvance(longer) <= width) {
            current = longer;
            continue;
        }
        lines.append(current);
        current = shown;
    }
    lines.append(current);
    return lines;
}

} // namespace kiv::FittedText
