#pragma once

#include "compare/FileCompareJob.h"

#include <QObject>
#include <memory>

class QWidget;

namespace kiv {

class CompareView;
class RetroLabel;

// Owns one window showing two compared files side by side (CompareView) under their names, with a
// status line counting the differences and naming the current one. F7 and Shift+F7 go to the next
// and previous difference; Esc, F3 and F10 close the window, and the controller deletes itself
// with it.
class CompareWindowController : public QObject
{
    Q_OBJECT
public:
    // Builds the window, not shown yet, for `comparison`.
    explicit CompareWindowController(
        std::shared_ptr<const FileCompareJob::Result> comparison, QObject* parent = nullptr);
    // Closes and destroys the window.
    ~CompareWindowController() override;

    // Returns the window; it belongs to this controller and lives as long as it does.
    QWidget* window() const { return m_window.get(); }
    // Returns the side-by-side view.
    CompareView* view() const { return m_view; }
    // Returns the status line's text.
    QString statusText() const;
    // Shows the window and brings it to the front.
    void showWindow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateStatusLine();
    void bindKeys();

    std::unique_ptr<QWidget> m_window;
    CompareView* m_view = nullptr;
    RetroLabel* m_statusLine = nullptr;
};

} // namespace kiv
