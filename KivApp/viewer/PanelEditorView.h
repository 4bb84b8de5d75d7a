#pragma once

#include "files/EditableText.h"

#include <QWidget>
#include <functional>
#include <string>

namespace kiv {

class EditorTextView;
class RetroLabel;

// The in-panel editor: a title line naming the file, the whole file as wrapping plain text in
// the panel's colours, and a line of key hints. The save shortcut saves, Escape closes (asking
// first when there are unsaved changes). A copy of a file inside an archive is shown read-only,
// and the save shortcut says why it saves nothing.
class PanelEditorView : public QWidget
{
    Q_OBJECT
public:
    // Creates the editor on `loaded`, the text of the file at `filePath` (file-system bytes) as
    // EditableText::load() gave it: Kind::text, or Kind::missing for a file not there yet. A
    // non-empty `archivePath` names the archive whose member `filePath` is a copy of: the text is
    // then read-only.
    PanelEditorView(std::string filePath, const EditableText::Loaded& loaded, std::string archivePath = {},
        QWidget* parent = nullptr);

    // Returns the path of the edited file.
    const std::string& filePath() const { return m_filePath; }

    // Returns true when the editor may close: it is clean, not shown, or the user answered the
    // "Unsaved Changes" question with "Discard", or with "Save" and the save succeeded.
    bool confirmClose();

    // Gives the keyboard focus to the text.
    void focusEditor();

    // Writes the text to the file atomically as UTF-8 with the line breaks and byte-order mark the
    // file had, keeping its permission bits and writing through a symbolic link; a failure is shown in a dialog while the editor is visible
    // and leaves the dirty mark as it was. A read-only copy is never written: a dialog says so.
    void save();

    // Called when the editor is to be closed (Escape, allowed by confirmClose()); may be unset.
    std::function<void()> onClose;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setDirty(bool dirty);
    void updateTitle();
    QString fileName() const;
    QString archiveName() const;
    std::string textToSave() const;
    void refuseSave();
    void escape();

    std::string m_filePath;
    // The archive the file is a copy from, or empty for a file of its own.
    std::string m_archivePath;
    EditorTextView* m_textView;
    RetroLabel* m_titleLabel;
    RetroLabel* m_statusLabel;
    bool m_isDirty = false;
    // The file's line breaks and byte-order mark, which the text widget does not keep (no text).
    EditableText::Loaded m_form;
};

} // namespace kiv
