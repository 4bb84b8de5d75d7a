#pragma once

#include "shell/ShellRunner.h"

#include <QWidget>
#include <functional>

class QPlainTextEdit;
class QTextDocument;

namespace kiv {

class RetroLabel;

// Covers the window with the transcript of one finished command: the prompt line, the output
// and, on failure, the exit code, under a bar asking for any key. Any key or click reports
// onDismiss; the owner removes the view.
class ConsoleOutputView : public QWidget
{
    Q_OBJECT
public:
    // Builds the view for `command` as typed, run in the folder shown as `promptPath`, that ended
    // with `result`. The transcript is fixed from here on; the caller sets the geometry and focus.
    ConsoleOutputView(const QString& promptPath, const QString& command, const ShellRunner::Result& result,
        QWidget* parent = nullptr);

    // Called on any key press or mouse click in the view, if set, from inside the event; an owner
    // that removes the view there must use deleteLater().
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
    static void buildTranscript(QTextDocument& document, const QString& promptPath, const QString& command,
        const ShellRunner::Result& result);
    void placeChildren();
    void scrollToEnd();
    void dismiss();

    QPlainTextEdit* m_textView;
    RetroLabel* m_hintLabel;
};

} // namespace kiv
