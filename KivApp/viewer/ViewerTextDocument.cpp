#include "viewer/ViewerTextDocument.h"

#include "toolkit/Theme.h"

namespace kiv::ViewerTextDocument {

namespace {

// A text document pays for every block it holds, so the lines of a long text are gathered into
// blocks of this many, joined by line separators that show and copy as ordinary line breaks.
constexpr int linesPerBlock = 64;
constexpr qsizetype gatheringThreshold = 1 << 20;

// A "\r\n" pair counts as one line break, as it does in a document, so it becomes one separator.
void gatherLinesIntoBlocks(QString& text)
{
    QChar* characters = text.data();
    const qsizetype size = text.size();
    qsizetype kept = 0;
    qsizetype lineBreaks = 0;
    for (qsizetype at = 0; at < size; ++at) {
        QChar character = characters[at];
        if (character == u'\r' && at + 1 < size && characters[at + 1] == u'\n')
            character = characters[++at];
        if (character == u'\n' && ++lineBreaks % linesPerBlock != 0)
            character = QChar::LineSeparator;
        characters[kept++] = character;
    }
    text.truncate(kept);
}

} // namespace

QFont font()
{
    return Theme::monoFont(12);
}

// Built whole before a view sees it, so no view follows every inserted line; with the gathering
// above, a 50 MB log is a document in well under a second.
std::unique_ptr<QTextDocument> build(std::string_view text, const QFont& font)
{
    QString characters = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (characters.size() > gatheringThreshold)
        gatherLinesIntoBlocks(characters);
    auto document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(font);
    document->setPlainText(characters);
    return document;
}

} // namespace kiv::ViewerTextDocument
