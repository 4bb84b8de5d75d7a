#pragma once

#include <QPointer>
#include <QWidget>

namespace kiv {

class CommandLineBar;
class FunctionKeyBarView;
class PulldownMenuBarView;
class RetroSplitView;

// The main window's content: from top to bottom the pulldown menu bar (20 px), the split view
// with the two panels (all the height left), the command line (20 px) and the function-key bar
// (22 px), every part as wide as the view. It can also be covered whole by one overlay.
class MainRootView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int menuBarHeight = 20;
    static constexpr int commandLineHeight = 20;
    static constexpr int funcKeyBarHeight = 22;

    // Builds the four parts; they live as long as the view and are never replaced.
    explicit MainRootView(QWidget* parent = nullptr);

    // Returns the pulldown menu bar along the top.
    PulldownMenuBarView* menuBar() const { return m_menuBar; }
    // Returns the split view that holds the panels.
    RetroSplitView* splitView() const { return m_splitView; }
    // Returns the command line above the key bar.
    CommandLineBar* commandLine() const { return m_commandLine; }
    // Returns the function-key bar along the bottom.
    FunctionKeyBarView* funcKeyBar() const { return m_funcKeyBar; }

    // Puts `overlay` (owned by the view from now on) on top of everything, covering the whole
    // view and following its size until the overlay is deleted or another shown; the caller gives
    // it the focus. With null, hides the overlay shown, which stays the view's until deleted.
    void showOverlay(QWidget* overlay);
    // Returns the overlay shown, or null when none is (or it has been deleted).
    QWidget* overlay() const { return m_overlay; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutParts();

    PulldownMenuBarView* m_menuBar;
    RetroSplitView* m_splitView;
    CommandLineBar* m_commandLine;
    FunctionKeyBarView* m_funcKeyBar;
    QPointer<QWidget> m_overlay;
};

} // namespace kiv
