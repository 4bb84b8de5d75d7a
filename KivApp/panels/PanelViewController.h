#pragma once

#include "files/FileEntry.h"
#include "panel/PanelState.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>

namespace kiv {

class BorderedPanel;
class PanelEditorView;
class PanelListModel;
class PanelRowView;
class PanelTableView;
class PanelViewControllerDelegate;
class RetroLabel;

// One file panel on screen: a bordered box with the location line, the column titles, the rows
// of its PanelState and a status line. Turns the list's keys into navigation and marking,
// reports to its delegate, and can cover itself with the in-panel editor. Its state changes only
// through its own intents (reload, goTo, marks, hidden files), each of which redraws what changed.
class PanelViewController : public QObject
{
    Q_OBJECT
public:
    // Creates the panel on `startPath`; lists nothing until reload().
    explicit PanelViewController(const std::string& startPath, QObject* parent = nullptr);
    // Deletes the panel's view too, unless a parent widget deleted it first.
    ~PanelViewController() override;

    // Returns the panel's view, to be placed by the owner; its widget parent owns it from then on.
    QWidget* view() const;
    // Returns the panel's list.
    PanelTableView* tableView() const { return m_tableView; }
    // Returns the panel's model, to read: the intents below make every change.
    const PanelState& state() const { return m_state; }
    // Returns the editor covering the panel, or null.
    PanelEditorView* editorView() const;

    // Returns the receiver of the panel's reports, or null.
    PanelViewControllerDelegate* delegate() const { return m_delegate; }
    // Sets the receiver of the panel's reports; not owned, and must outlive the panel or be cleared.
    void setDelegate(PanelViewControllerDelegate* delegate) { m_delegate = delegate; }

    // Returns whether this is the panel with the keyboard focus.
    bool isActive() const { return m_isActive; }
    // Sets whether this is the active panel and redraws the cursor bar in the matching colour.
    void setActive(bool active);

    // Relists the location (reporting a failure to the delegate) and refreshes the whole panel.
    void reload();
    // Goes to the real folder `path` with no marks and the cursor on the first row. When it
    // cannot be listed the panel stays exactly as it was and the delegate hears of it once.
    void goTo(const std::string& path);
    // Replaces the marks by `names` (none unmarks every row) and redraws; names without a row go
    // at the next listing.
    void setMarks(std::unordered_set<std::string> names);
    // Lists names that begin with "." from now on when `show` is true, else leaves them out; relists.
    void setShowHidden(bool show);
    // Shows the names that begin with "." when they are left out, else leaves them out; relists.
    void toggleHidden();
    // Shows `text` in the status line instead of the counts until the panel is relisted or the
    // marks change.
    void showNotice(const QString& text);
    // Gives the keyboard focus to the shown editor, else to the list.
    void focus();
    // Returns the entry under the cursor, or nothing when the list has no selected row.
    std::optional<FileEntry> selectedEntry() const;
    // Covers the panel with an editor for `filePath`, after the shown editor agreed to close.
    void presentEditor(const std::string& filePath);
    // Saves the shown editor; nothing when none is shown.
    void saveInlineEditorIfPresent();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildView();
    void wireTable();
    void layoutChildren();
    void syncUI();
    void redrawKeepingCursor();
    void updateStatusLine();
    void selectionChanged();
    void toggleMark();
    void activateSelection();
    void goToParent();
    void enter(FileEntry entry);
    void moveTo(const std::function<bool()>& move);
    void reportFailure(const std::exception& error);
    void removeEditor();
    void dismissEditor();

    PanelState m_state;
    PanelViewControllerDelegate* m_delegate = nullptr;
    bool m_isActive = false;
    QPointer<BorderedPanel> m_view;
    RetroLabel* m_pathLabel;
    RetroLabel* m_columnHeader;
    RetroLabel* m_statusLabel;
    PanelTableView* m_tableView;
    PanelListModel* m_model;
    PanelRowView* m_rowView;
    QPointer<PanelEditorView> m_editorView;
};

} // namespace kiv
