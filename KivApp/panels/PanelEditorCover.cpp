#include "panels/PanelEditorCover.h"

#include "panels/PanelFrameView.h"
#include "panels/PanelTableView.h"
#include "toolkit/Weakly.h"

namespace kiv {

PanelEditorCover::PanelEditorCover(PanelFrameView& frame, QObject* parent)
    : QObject(parent)
    , m_frame(frame)
{
}

void PanelEditorCover::present(const std::string& filePath, const EditableText::Loaded& loaded,
    const std::string& archivePath, std::optional<PanelEditorView::SaveBack> saveBack)
{
    if (m_editor) {
        if (!m_editor->confirmClose())
            return;
        remove();
    }
    m_editor = new PanelEditorView(filePath, loaded, archivePath, std::move(saveBack), &m_frame);
    m_frame.setCover(m_editor);
    m_editor->onClose = weakly(this, &PanelEditorCover::dismiss);
    m_editor->show();
    m_editor->raise();
    m_editor->focusEditor();
    m_frame.list()->setFocusPolicy(Qt::NoFocus); // out of the Tab chain while covered
}

void PanelEditorCover::save()
{
    if (m_editor)
        m_editor->save();
}

bool PanelEditorCover::focusEditor()
{
    if (!m_editor)
        return false;
    m_editor->focusEditor();
    return true;
}

void PanelEditorCover::remove()
{
    // Deleted later: the editor may still be inside its own key handler.
    m_editor->hide();
    m_editor->deleteLater();
    m_editor = nullptr;
    m_frame.setCover(nullptr);
    m_frame.list()->setFocusPolicy(Qt::StrongFocus);
}

void PanelEditorCover::dismiss()
{
    if (!m_editor)
        return;
    remove();
    m_frame.list()->setFocus(Qt::OtherFocusReason);
}

} // namespace kiv
