#pragma once

#include "rename/NameCase.h"
#include "rename/NameReplace.h"
#include "rename/RenamePlan.h"

#include <QDialog>
#include <cstddef>
#include <optional>
#include <vector>

class QKeyEvent;
class QLineEdit;

namespace kiv {

class RetroChoiceView;

// "Multi-Rename": the name mask (first, focused, holding "[N].[E]" selected), a search and a
// replacement, whether the search is a regular expression (Alt+R) and the case of the new names
// (Alt+C goes round as is, lower, upper, first letter), over a live list of every old and new
// name. Any problem (two items to one name, a name taken by an item not renamed, an empty or
// invalid name, a mask or expression that cannot be read) is shown in the list and the status
// line, and Return does nothing until it is gone. Up, Down, PageUp and PageDown scroll the list.
class MultiRenameDialog : public QDialog
{
    Q_OBJECT
public:
    // Shows the dialog over `parent`'s window for `items`, whose folders hold `present`; returns
    // the renames on Return (empty when no name changes), nothing on Esc.
    static std::optional<std::vector<RenameSetJob::Rename>> ask(
        QWidget* parent, std::vector<RenamePlan::Item> items, RenamePlan::PresentNames present);

    // Creates the hidden dialog with the plan of the starting mask made.
    MultiRenameDialog(std::vector<RenamePlan::Item> items, RenamePlan::PresentNames present, QWidget* parent);

    // Returns the plan of the rule as the fields stand, or nothing while the rule cannot be read.
    const std::optional<RenamePlan>& plan() const { return m_plan; }
    // Returns the status line: how many items, or what stops the renaming.
    QString status() const;
    // Returns the field that holds the mask.
    QLineEdit* maskField() const { return m_mask; }
    // Returns the field that holds the search.
    QLineEdit* searchField() const { return m_search; }
    // Returns the field that holds the replacement.
    QLineEdit* replaceField() const { return m_replace; }
    // Returns the dialog's face.
    RetroChoiceView* face() const { return m_face; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* addField(const QString& text, int line);
    void replan();
    void refresh();
    void handleKey(QKeyEvent* event);
    void scroll(std::ptrdiff_t lines);
    void renameIfClear();
    QString listLine(const RenamePlan::Line& line) const;

    std::vector<RenamePlan::Item> m_items;
    RenamePlan::PresentNames m_present;
    NameReplace::Syntax m_syntax = NameReplace::Syntax::plainText;
    NameCase::Choice m_case = NameCase::Choice::asIs;
    std::optional<RenamePlan> m_plan;
    QString m_ruleProblem; // why the rule cannot be read, empty when it can
    std::size_t m_top = 0; // the first line of the list in sight
    RetroChoiceView* m_face;
    QLineEdit* m_mask;
    QLineEdit* m_search;
    QLineEdit* m_replace;
};

} // namespace kiv
