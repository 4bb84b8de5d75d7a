#pragma once

#include "shell/ConsoleLog.h"

#include <QWidget>
#include <cstdint>
#include <functional>

class QPlainTextEdit;
class QTextCursor;

namespace kiv {

class RetroLabel;

// Covers the window with the transcript of one command: the prompt line, the output as it
// arrives (standard error in its own colour) and, once it has ended in failure, the exit code.
// While the command runs only Ctrl+C does anything (onInterrupt); once it has ended any key or
// click reports onDismiss and the owner removes the view.
class ConsoleOutputView : public QWidget
{
    Q_OBJECT
public:
    // Builds the view for `command` as typed, running in the folder shown as `promptPath`; the
    // caller sets the geometry and focus.
    ConsoleOutputView(const QString& promptPath, const QString& command, QWidget* parent = nullptr);

    // Adds to the transcript what the command's log says changed. REQUIRES: not yet finished.
    void showOutput(const ConsoleLog::Update& update);
    // Ends the transcript: "(no output)" when there was none, the exit code when it is not 0.
    void finish(std::int32_t exitCode);
    // Returns whether finish() has not been called yet.
    bool isRunning() const { return m_running; }
    // Returns whether lines the log dropped are still shown, to be removed by the next updates.
    bool isCatchingUp() const { return m_linesToRemove > 0; }

    // Called on Ctrl+C while the command runs, if set.
    std::function<void()> onInterrupt;
    // Called on any key press or mouse click once the command has ended, if set, from inside the
    // event; an owner that removes the view there must use deleteLater().
    std::function<void()> onDismiss;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void writeHeader();
    void removeFirstOutputLines();
    void showDroppedLines(std::int64_t count);
    void appendPieces(const std::vector<ConsoleLog::Piece>& pieces);
    QTextCursor outputStart() const;
    void placeChildren();
    void scrollToEnd();
    void dismiss();

    const QString m_promptLine;
    QPlainTextEdit* m_textView;
    RetroLabel* m_hintLabel;
    bool m_running = true;
    bool m_hadOutput = false;
    bool m_endsOpen = false; // the last output line has no line break yet
    std::int64_t m_droppedLines = 0;
    std::int64_t m_linesToRemove = 0; // at the start of the output, dropped by the log but still shown
};

} // namespace kiv
