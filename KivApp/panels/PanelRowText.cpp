#include "panels/PanelRowText.h"

#include "text/KivFormat.h"
#include "toolkit/ShownText.h"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <utility>

namespace kiv::PanelRowText {

namespace {

constexpr int nameWidth = 23;
constexpr int sizeWidth = 11;

bool isPrintableAscii(const QString& text)
{
    for (QChar character : text)
        if (character.unicode() < 0x20 || character.unicode() > 0x7e)
            return false;
    return true;
}

// Returns how many user-perceived characters `text` has, and the code-unit offset just after the
// first `limit` of them (the whole text when it has fewer).
std::pair<qsizetype, qsizetype> countCharacters(const QString& text, qsizetype limit)
{
    // Printable ASCII is one character per code unit; the common case needs no Unicode tables.
    if (isPrintableAscii(text))
        return { text.size(), std::min(text.size(), limit) };
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype characters = 0;
    qsizetype cut = limit == 0 ? 0 : text.size();
    for (qsizetype offset = finder.toNextBoundary(); offset >= 0; offset = finder.toNextBoundary())
        if (++characters == limit)
            cut = offset;
    return { characters, cut };
}

QString displayName(const FileEntry& entry)
{
    const QString name = ShownText::of(entry.name);
    const bool isFolder
        = entry.kind == FileEntry::Kind::directory || entry.kind == FileEntry::Kind::parentDirectory;
    return isFolder ? u'[' + name + u']' : name;
}

} // namespace

QString fitted(const QString& text, int width, Side side)
{
    const auto [characters, cut] = countCharacters(text, width);
    if (characters >= width)
        return text.left(cut);
    const QString fill(width - characters, u' ');
    return side == Side::left ? text + fill : fill + text;
}

QString row(const FileEntry& entry)
{
    const QLatin1StringView gap("  ");
    QString text;
    text.reserve(64);
    text += u' ';
    text += fitted(displayName(entry), nameWidth, Side::left);
    text += fitted(QString::fromStdString(KivFormat::size(entry)), sizeWidth, Side::right);
    text += gap;
    text += QString::fromStdString(KivFormat::date(entry.modificationDate));
    text += gap;
    text += QString::fromStdString(KivFormat::time(entry.modificationDate));
    return text;
}

QString columnHeader(SortOrder order)
{
    using Key = SortOrder::Key;
    const QString arrow
        = order.direction == SortOrder::Direction::ascending ? QStringLiteral("↑") : QStringLiteral("↓");
    const auto title = [&](const char* text, Key key) {
        return QString::fromLatin1(text) + (order.key == key ? arrow : QString());
    };
    const QString nameTitle = order.key == Key::unsorted ? QStringLiteral("Name (unsorted)")
        : order.key == Key::extension                    ? title("Ext", Key::extension)
                                                         : title("Name", Key::name);
    return u' ' + fitted(nameTitle, nameWidth, Side::left)
        + fitted(title("Size", Key::size), sizeWidth, Side::right) + u' ' + u' '
        + fitted(title("Date", Key::modificationTime), 10, Side::left) + QStringLiteral("Time");
}

} // namespace kiv::PanelRowText
