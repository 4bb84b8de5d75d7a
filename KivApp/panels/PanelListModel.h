#pragma once

#include "base/FileEntry.h"

#include <QAbstractListModel>

namespace kiv {

class PanelState;

// The rows of one panel for its list, read straight from the panel's state: the display text is
// the entry's name (for the list's type-ahead search), ForegroundRole the row's colour off the
// cursor bar (marked, folder, archive or plain); PanelRowDelegate draws the row itself. Texts are made
// when asked for, so a folder of any size costs nothing until its rows are shown.
class PanelListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    // Creates the model over `state`, which must outlive it; every change of the state's entries
    // must happen inside replaceRows().
    explicit PanelListModel(PanelState& state, QObject* parent = nullptr);

    // Returns the number of the state's entries, 0 under a valid parent.
    int rowCount(const QModelIndex& parent = {}) const override;
    // Returns the name, the row text or the colour of a row by role, nothing for other roles.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Runs `change`, which may replace the state's entries, as one model reset; passes on what it
    // throws after ending the reset.
    template <typename Change> void replaceRows(Change&& change)
    {
        beginResetModel();
        ResetEnd end { *this };
        change();
    }

    // Reports that the colour of `row` may have changed (its mark was toggled).
    void restyleRow(int row);
    // Reports that the colour of every row may have changed (the marks were replaced).
    void restyleAllRows();

private:
    struct ResetEnd
    {
        PanelListModel& model;
        ~ResetEnd() { model.endResetModel(); }
    };

    QColor rowColor(const FileEntry& entry) const;

    PanelState& m_state;
};

} // namespace kiv
