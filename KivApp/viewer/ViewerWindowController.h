#pragma once

#include "text/PreviewText.h"

#include <QObject>
#include <QString>
#include <QTextDocument>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QLabel;
class QPlainTextEdit;
class QWidget;

namespace kiv {

class HexSearch;
class HexView;

// Owns one read-only viewer window showing a file as text, or as a hex dump of the whole file
// when it is not UTF-8 text. A text is read once, when it is shown; the dump reads the lines in
// sight as it scrolls. Once the window is closed (its close button, Esc, F3 or F10) the controller
// deletes itself, and the window with it. Up, Down, PageUp, PageDown, Home and End scroll; F7 or
// Ctrl+F finds a text (ignoring case), F7 again or Shift+F7 the next match; in the dump the search
// runs through the file in steps, with its progress in the status line, and Esc stops it. F4
// switches between text and hex dump. A status line at the bottom gives the name, size, position
// in percent and "Text" or "Hex".
class ViewerWindowController : public QObject
{
    Q_OBJECT
public:
    // Takes what a reading of the file found: how it is shown, and the document of its text
    // (ViewerTextDocument, empty for a dump), living on the window's thread.
    using Show = std::function<void(PreviewText::Preview::Kind kind, std::unique_ptr<QTextDocument> text)>;
    // Reads the file again in `form` (off the window's thread, ViewerLoadJob) and hands what it
    // found to `show` on the UI thread; `show` is not called when the reading fails or is cancelled.
    using Reread = std::function<void(PreviewText::Form form, Show show)>;

    // Builds the 720 x 500 window titled "View: " and the file's name and fills it with what a
    // reading of the file at `filePath` (file-system bytes) found, `size` bytes long where known:
    // its `text` or, for a dump, the dump paged from the file. F4 asks `reread` for the other
    // form. The window is not shown yet. A file that could not be read shows "(could not read
    // file)".
    ViewerWindowController(const std::string& filePath, PreviewText::Preview::Kind kind,
        std::unique_ptr<QTextDocument> text, std::optional<std::int64_t> size, Reread reread,
        QObject* parent = nullptr);
    // Closes and destroys the window.
    ~ViewerWindowController() override;

    // Returns the window; it belongs to this controller and lives as long as it does.
    QWidget* window() const { return m_window.get(); }
    // Shows the window and brings it to the front.
    void showWindow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show(PreviewText::Preview::Kind kind, std::unique_ptr<QTextDocument> text);
    void updateStatusLine();
    void bindKeys();
    void scrollToEnd(bool bottom);
    void escape();
    void askAndFind();
    void findNext();
    void findInText();
    void findInDump();
    void searchDumpOn();
    void stopDumpSearch();
    void tellNotFound();

    std::string m_filePath;
    Reread m_reread;
    std::unique_ptr<QWidget> m_window;
    QPlainTextEdit* m_textView = nullptr;
    HexView* m_hexView = nullptr;
    QLabel* m_statusLine = nullptr;
    QString m_statusStart;
    bool m_shownAsHex = false;
    QString m_searchText;
    // The search through the dump under way, stepped by the timer; null when none runs.
    std::unique_ptr<HexSearch> m_dumpSearch;
    QTimer m_searchTimer;
};

} // namespace kiv
