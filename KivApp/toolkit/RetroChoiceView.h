#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

namespace kiv {

class RetroDialogButton;

// The face of a retro dialog that offers several choices: a centred bold title over a rule,
// lines of fixed-pitch text (one may be highlighted as a cursor row), and a row of bracketed
// buttons, each chosen by its own key, all inside the two-pixel black frame of the house dialogs.
// The button Return chooses, when one does, is highlighted; no other ever is.
class RetroChoiceView : public QWidget
{
    Q_OBJECT
public:
    // One button: its caption, which shows its key ("O Overwrite"), and the key that chooses it.
    struct Choice
    {
        QString caption;
        int key;
    };

    // Returns the width a line of text may take on a face `width` pixels wide.
    static int textWidth(int width);

    // Creates the face `width` pixels wide, with room for `lineCount` lines of text.
    RetroChoiceView(const QString& title, std::vector<Choice> choices, int width, int lineCount,
        QWidget* parent = nullptr);

    // Replaces the text lines; `highlighted` (or -1) is drawn as the cursor row. A line wider than
    // the face is fitted (FittedText::line): its paths are shortened, not its words.
    void setLines(const QStringList& lines, int highlighted = -1);
    // Returns the text lines.
    const QStringList& lines() const { return m_lines; }
    // Returns the title.
    const QString& titleText() const { return m_title; }
    // Returns where text line `index` is drawn, so a field can be laid over part of it.
    QRect lineRect(int index) const;
    // Returns the buttons, in the order of the choices.
    const std::vector<RetroDialogButton*>& buttons() const { return m_buttons; }

    // Called with the index of the choice made by its key or its button.
    std::function<void(int index)> onChoice;
    // Called with a key that chooses nothing; may be unset.
    std::function<void(QKeyEvent* event)> onOtherKey;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void layoutButtons(int width);
    int lineHeight() const;

    QString m_title;
    std::vector<Choice> m_choices;
    std::vector<RetroDialogButton*> m_buttons;
    QStringList m_lines;
    int m_highlighted = -1;
    int m_lineCount;
    int m_linesTop = 0;
};

} // namespace kiv
