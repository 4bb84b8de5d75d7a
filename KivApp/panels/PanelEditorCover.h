#pragma once

#include "files/EditableText.h"
#include "viewer/PanelEditorView.h"

#include <QObject>
#include <QPointer>
#include <optional>
#include <string>

namespace kiv {

class PanelFrameView;

// The in-panel editor laid over one panel's frame: one at a time, a new one only once the shown
// one agreed to close. While it covers the frame the list under it is out of the Tab chain;
// closed with Escape, it hands the keyboard back to the list.
class PanelEditorCover : public QObject
{
    Q_OBJECT
public:
    // Covers `frame`, which must outlive this.
    explicit PanelEditorCover(PanelFrameView& frame, QObject* parent = nullptr);

    // Returns the editor shown, or null.
    PanelEditorView* editor() const { return m_editor; }
    // Covers the frame with an editor on `loaded`, the text of `filePath`, after the shown editor
    // agreed to close. The text is saved through `saveBack`; without it, it is a copy of a member
    // of the archive `archivePath`, shown read-only (PanelEditorView).
    void present(const std::string& filePath, const EditableText::Loaded& loaded, const std::string& archivePath,
        std::optional<PanelEditorView::SaveBack> saveBack);
    // Saves the shown editor; nothing when none is shown.
    void save();
    // Gives the keyboard focus to the shown editor; returns false, doing nothing, when none is.
    bool focusEditor();

private:
    void remove();
    void dismiss();

    PanelFrameView& m_frame;
    QPointer<PanelEditorView> m_editor;
};

} // namespace kiv
