#include "toolkit/Theme.h"

#include "terminal/TerminalPalette.h"
#include "toolkit/DOSColor.h"

#include <QFontDatabase>
#include <array>

namespace kiv::Theme {

const QColor& panelBackground()
{
    return DOSColor::blue();
}
const QColor& panelText()
{
    return DOSColor::lightGray();
}
const QColor& panelDirectory()
{
    return DOSColor::white();
}
const QColor& panelArchive()
{
    return DOSColor::lightMagenta();
}
const QColor& panelMarked()
{
    return DOSColor::yellow();
}
const QColor& panelCutMarker()
{
    return panelDirectory();
}
const QColor& scrollBarTrack()
{
    return DOSColor::cyan();
}
const QColor& scrollBarThumb()
{
    return DOSColor::blue();
}
const QColor& scrollBarArrow()
{
    return DOSColor::black();
}
const QColor& panelHeader()
{
    return DOSColor::white();
}
const QColor& panelHeaderBG()
{
    return DOSColor::cyan();
}
const QColor& cursorBackground()
{
    return DOSColor::cyan();
}
const QColor& cursorText()
{
    return DOSColor::black();
}
const QColor& inactiveCursorBG()
{
    return DOSColor::darkGray();
}
const QColor& funcKeyBarBackground()
{
    return DOSColor::black();
}
const QColor& funcKeyNumber()
{
    return DOSColor::white();
}
const QColor& funcKeyLabelBG()
{
    return DOSColor::cyan();
}
const QColor& funcKeyLabelText()
{
    return DOSColor::black();
}
const QColor& commandLineText()
{
    return DOSColor::yellow();
}
const QColor& commandLineBackground()
{
    return DOSColor::black();
}
const QColor& terminalColor(int index)
{
    static const std::array<QColor, 16> colors = [] {
        std::array<QColor, 16> made;
        for (int at = 0; at < 16; ++at) {
            const TerminalPalette::Rgb rgb = TerminalPalette::colour(at);
            made[std::size_t(at)] = QColor(rgb.red, rgb.green, rgb.blue);
        }
        return made;
    }();
    return colors[std::size_t(index)];
}
const QColor& editorCaret()
{
    return DOSColor::yellow();
}
const QColor& menuBarBackground()
{
    return DOSColor::lightGray();
}
const QColor& menuBarText()
{
    return DOSColor::black();
}
const QColor& menuHighlightBG()
{
    return DOSColor::cyan();
}
const QColor& menuDisabledText()
{
    return DOSColor::darkGray();
}
const QColor& menuKeyText()
{
    return DOSColor::red();
}
const QColor& popupFrame()
{
    return DOSColor::black();
}
const QColor& popupRule()
{
    return DOSColor::darkGray();
}
const QColor& dialogBackground()
{
    return DOSColor::lightGray();
}
const QColor& dialogText()
{
    return DOSColor::black();
}
const QColor& dialogFieldBackground()
{
    return DOSColor::white();
}
const QColor& dialogFieldEdge()
{
    return DOSColor::black();
}
const QColor& destructiveButtonText()
{
    return DOSColor::red();
}

namespace {

QFont fixedFont(qreal size, QFont::Weight weight)
{
    // Which family is installed does not change while the program runs, and every row of every
    // panel asks for a font, so the lookup is done once. The system's fixed font comes last: on
    // Linux it may resolve to a family whose odd glyphs break the character grid.
    static const QFont family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const QString& name : { QStringLiteral("Menlo"), QStringLiteral("DejaVu Sans Mono") })
            if (installed.contains(name))
                return QFont(name);
        return QFontDatabase::systemFont(QFontDatabase::FixedFont);
    }();
    // Sized in pixels so that a 12-point font fits a 16-pixel row on every platform.
    QFont font = family;
    font.setPixelSize(qMax(1, qRound(size)));
    font.setWeight(weight);
    font.setStyleHint(QFont::TypeWriter, QFont::NoAntialias);
    font.setFixedPitch(true);
    return font;
}

} // namespace

QFont monoFont(qreal size)
{
    return fixedFont(size, QFont::Normal);
}

QFont monoFontBold(qreal size)
{
    return fixedFont(size, QFont::Bold);
}

} // namespace kiv::Theme
