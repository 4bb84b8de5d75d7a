#pragma once

#include "files/EditableText.h"

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

namespace kiv {

class EditorTextView;
class RetroLabel;

// The in-panel editor: a title line naming the file, the whole file as wrapping plain text in
// the panel's colours, and a line of key hints. The save shortcut saves (through SaveBack, as a
// job), Escape closes (asking first when there are unsaved changes). A copy of a file inside an
// archive has nothing to save through: it is shown read-only, and the save shortcut says why it
// saves nothing.
class PanelEditorView : public QWidget
{
    Q_OBJECT
public:
    // How the text is saved: `place` names the file in the title ("a.txt", "sftp://me@host/a.txt");
    // `write` is handed the bytes to save and `done`, which it calls on the UI thread, whenever the
    // writing ends, with whether they were written.
    struct SaveBack
    {
        QString place;
        std::function<void(std::string bytes, std::function<void(bool written)> done)> write;
    };

    // Creates the editor on `loaded`, the text of the file at `filePath` (file-system bytes) as
    // EditableText::load() gave it: Kind::text, or Kind::missing for a file not there yet, saved
    // through `saveBack`. Without `saveBack` the text is read-only: `filePath` is a copy of a member
    // of the archive `archivePath`.
    PanelEditorView(std::string filePath, const EditableText::Loaded& loaded, std::string archivePath = {},
        std::optional<SaveBack> saveBack = {}, QWidget* parent = nullptr);

    // Returns the path of the edited file.
    const std::string& filePath() const { return m_filePath; }

    // Returns true when the editor may close: it is clean, not shown, or the user answered the
    // "Unsaved Changes" question with "Discard", or with "Save" and the save succeeded.
    bool confirmClose();

    // Calls `then` once the save that confirmClose() started (the answer "Save") has written the
    // text and closed the editor; nothing when no such save runs, or when it fails.
    void whenClosedBySave(std::function<void()> then);

    // Gives the keyboard focus to the text.
    void focusEditor();

    // Hands the text, as UTF-8 with the line breaks and byte-order mark the file had, to
    // SaveBack::write (one save at a time: another asked for meanwhile does nothing); the editor is
    // clean once they are written, unless edited since. A read-only copy is never written: a dialog
    // says so.
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
    void saveBack();
    void savedBack(const std::string& bytes, bool written);
    void escape();

    std::string m_filePath;
    // The archive the file is a copy from, or empty for a file of its own.
    std::string m_archivePath;
    EditorTextView* m_textView;
    RetroLabel* m_titleLabel;
    RetroLabel* m_statusLabel;
    bool m_isDirty = false;
    std::optional<SaveBack> m_saveBack;
    bool m_savingBack = false;
    bool m_closeWhenSaved = false; // "Save" answered to the close question while saving
    std::function<void()> m_afterClosingSave;
    // The file's line breaks and byte-order mark, which the text widget does not keep (no text).
    EditableText::Loaded m_form;
};

} // namespace kiv
