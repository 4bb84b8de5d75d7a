#pragma once

#include <QColor>
#include <QFont>

// The colour of every role in the interface and the two fixed-pitch fonts; widgets take their
// colours from here only. Each colour function returns a shared colour that lives for the program.
namespace kiv::Theme {

// Returns DOSColor::blue(), the file panels' background.
const QColor& panelBackground();
// Returns DOSColor::lightGray(), the panels' ordinary text.
const QColor& panelText();
// Returns DOSColor::white(), the names of folders.
const QColor& panelDirectory();
// Returns DOSColor::lightMagenta(), the names of archives.
const QColor& panelArchive();
// Returns DOSColor::yellow(), marked names.
const QColor& panelMarked();
// Returns panelDirectory(), the marker in the last cell of a name cut at its column.
const QColor& panelCutMarker();
// Returns DOSColor::cyan(), the track of a panel's scroll bar.
const QColor& scrollBarTrack();
// Returns DOSColor::blue(), the block showing where a panel's scroll bar stands.
const QColor& scrollBarThumb();
// Returns DOSColor::black(), the arrows at the ends of a panel's scroll bar.
const QColor& scrollBarArrow();
// Returns DOSColor::white(), the text of panel headers.
const QColor& panelHeader();
// Returns DOSColor::cyan(), the background of panel headers and panel frames.
const QColor& panelHeaderBG();
// Returns DOSColor::cyan(), the cursor bar of the active panel.
const QColor& cursorBackground();
// Returns DOSColor::black(), the text on the cursor bar.
const QColor& cursorText();
// Returns DOSColor::darkGray(), the cursor bar of the inactive panel.
const QColor& inactiveCursorBG();
// Returns DOSColor::black(), the function-key bar's background.
const QColor& funcKeyBarBackground();
// Returns DOSColor::white(), the function-key numbers.
const QColor& funcKeyNumber();
// Returns DOSColor::cyan(), the function-key caption fields.
const QColor& funcKeyLabelBG();
// Returns DOSColor::black(), the function-key captions.
const QColor& funcKeyLabelText();
// Returns DOSColor::yellow(), the command line's text.
const QColor& commandLineText();
// Returns DOSColor::black(), the command line's background.
const QColor& commandLineBackground();
// Returns colour `index` (0 to 15) of the 16 the console draws programs' output in, those of
// TerminalPalette.
const QColor& terminalColor(int index);
// Returns DOSColor::yellow(), the in-panel editor's text cursor.
const QColor& editorCaret();
// Returns DOSColor::lightGray(), the menu bar and popup menus' background.
const QColor& menuBarBackground();
// Returns DOSColor::black(), the menu bar and popup menus' text.
const QColor& menuBarText();
// Returns DOSColor::cyan(), the highlighted menu entry and hovered dialog button.
const QColor& menuHighlightBG();
// Returns DOSColor::darkGray(), the menu entries that cannot be chosen.
const QColor& menuDisabledText();
// Returns DOSColor::red(), the letter that chooses a menu entry.
const QColor& menuKeyText();
// Returns DOSColor::black(), the frame around dialogs and popup menus.
const QColor& popupFrame();
// Returns DOSColor::darkGray(), the rule under a dialog's title and the menus' separators.
const QColor& popupRule();
// Returns DOSColor::lightGray(), the face of dialogs.
const QColor& dialogBackground();
// Returns DOSColor::black(), the text of dialogs.
const QColor& dialogText();
// Returns DOSColor::white(), the background of a dialog's input field.
const QColor& dialogFieldBackground();
// Returns DOSColor::black(), the square edge of a dialog's input field.
const QColor& dialogFieldEdge();
// Returns DOSColor::red(), the caption of a button whose action destroys something.
const QColor& destructiveButtonText();

// Returns a new regular fixed-pitch font, "Menlo" or else "DejaVu Sans Mono" when installed, else
// the system's fixed font, sized in pixels equal to `size` points and drawn without antialiasing.
QFont monoFont(qreal size = 13);
// Returns the bold counterpart of monoFont(size).
QFont monoFontBold(qreal size = 13);

} // namespace kiv::Theme
