#pragma once

#include <QWidget>
#include <functional>
#include <string>

namespace kiv {

class EditorTextView;
class RetroLabel;

// The in-panel editor: a title line naming the file, the whole file as wrapping plain text in
// the panel's colours, and a line of key hints. The save shortcut saves, Escape closes (asking
// first when there are unsaved changes). A file whose contents could not be shown (unreadable
// or not UTF-8) opens empty and is never overwritten by a save.
class PanelEditorView : public QWidget
{
    Q_OBJECT
public:
    // Creates the editor and loads the file at `filePath` (file-system bytes) as UTF-8 text.
    explicit PanelEditorView(std::string filePath, QWidget* parent = nullptr);

    // Returns the path of the edited file.
    const std::string& filePath() const { return m_filePath; }

    // Returns true when the editor may close: it is clean, not shown, or the user answered the
    // "Unsaved Changes" question with "Discard", or with "Save" and the save succeeded.
    bool confirmClose();

    // Gives the keyboard focus to the text.
    void focusEditor();

    // Writes the text to the file atomically as UTF-8, keeping the file's permission bits and
    // writing through a symbolic link; a failure or refusal is shown in a dialog while the editor
    // is visible and leaves the dirty mark as it was.
    void save();

    // Called when the editor is to be closed (Escape, allowed by confirmClose()); may be unset.
    std::function<void()> onClose;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // What loading found at the path.
    enum class LoadOutcome
    {
        loaded, // the text shown is the whole file
        missing, // nothing there yet: a save creates the file
        notShown, // something there that could not be shown: a save would destroy it
    };

    void load();
    void setDirty(bool dirty);
    void updateTitle();
    QString fileName() const;
    std::string textToSave() const;
    void refuseSave();
    void escape();

    std::string m_filePath;
    EditorTextView* m_textView;
    RetroLabel* m_titleLabel;
    RetroLabel* m_statusLabel;
    bool m_isDirty = false;
    LoadOutcome m_loadOutcome = LoadOutcome::missing;
    // Whether the file broke its lines with "\r\n", which the text widget turns into plain breaks.
    bool m_usesCrLf = false;
};

} // namespace kiv
