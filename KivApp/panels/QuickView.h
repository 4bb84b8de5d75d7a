#pragma once

#include "toolkit/BorderedPanel.h"

#include <QTimer>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace kiv {

class EditorTextView;
class JobControl;
class JobThread;
class QuickViewJob;
class RetroLabel;

// The quick view, in place of a panel: the summary of one item (QuickSummary) under a title
// naming it. Each item is summarized on a worker of its own and only the last one asked for is
// shown, so moving the cursor quickly never waits for a slow read. With the keyboard, the text
// scrolls with the viewer's keys; Esc stops a count under way and Tab hands the keyboard back.
class QuickView : public BorderedPanel
{
    Q_OBJECT
public:
    // Shows nothing until showItem().
    explicit QuickView(QWidget* parent = nullptr);
    // Cancels the summaries under way; their threads end on their own.
    ~QuickView() override;

    // Summarizes the item at the local path `path` on a worker, superseding the one under way.
    void showItem(const std::string& path);
    // Shows `text` and no item, superseding the one under way (the ".." row, an archive member).
    void showText(const QString& title, const QString& text);
    // Stops the summary under way, which then says it was stopped.
    void stop();
    // Returns whether a summary that counts is under way.
    bool isBusy() const { return m_current != 0; }
    // Returns the text shown.
    QString shownText() const;
    // Returns the title shown.
    QString shownTitle() const;
    // Gives the keyboard to the text.
    void focusText();

    // Called when Tab or Shift+Tab is pressed in the text; may be unset.
    std::function<void()> onTab;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Running
    {
        std::shared_ptr<QuickViewJob> job;
        std::shared_ptr<JobControl> control;
        std::unique_ptr<JobThread> thread;
    };

    bool cancelCurrent();
    void ended(std::uint64_t id);
    void tick();
    void setText(const QString& text);

    RetroLabel* m_title;
    EditorTextView* m_text;
    // Every summary whose thread has not ended yet, superseded ones included, by id.
    std::map<std::uint64_t, Running> m_running;
    std::uint64_t m_current = 0; // the summary that counts, 0 for none
    std::uint64_t m_lastId = 0;
    QTimer m_progressTimer;
};

} // namespace kiv
