#pragma once

#include "search/FindQuery.h"

#include <QDialog>
#include <optional>

namespace kiv {

class RetroChoiceView;

// "Find file": the search's fields, one line each with the key that changes it. N, T and F ask for
// the name patterns, the text and the start folder; C, W, B and A switch case-sensitive letters,
// whole words, binary files and archives on and off; Return finds, Esc cancels.
class FindQueryDialog : public QDialog
{
    Q_OBJECT
public:
    // Shows the dialog over `parent`'s window starting from `start`; returns the query on Return,
    // nothing on Esc.
    static std::optional<FindQuery> ask(QWidget* parent, FindQuery start);

    // Creates the hidden dialog showing `start`.
    FindQueryDialog(FindQuery start, QWidget* parent);
    // Returns the query as the user has set it so far.
    const FindQuery& query() const { return m_query; }
    // Returns the dialog's face.
    RetroChoiceView* face() const { return m_face; }

private:
    void refresh();
    void change(int key);
    void edit(const QString& title, std::string& field);

    FindQuery m_query;
    RetroChoiceView* m_face;
};

} // namespace kiv
