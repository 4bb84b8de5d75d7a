#include "panels/PanelListModel.h"

#include "panel/PanelState.h"
#include "toolkit/ShownText.h"
#include "toolkit/Theme.h"

namespace kiv {

PanelListModel::PanelListModel(PanelState& state, QObject* parent)
    : QAbstractListModel(parent)
    , m_state(state)
{
}

int PanelListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_state.entries().size());
}

QVariant PanelListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const FileEntry& entry = m_state.entries()[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return ShownText::of(entry.name);
    case Qt::ForegroundRole:
        return rowColor(entry);
    default:
        return {};
    }
}

QColor PanelListModel::rowColor(const FileEntry& entry) const
{
    if (m_state.markedNames().contains(entry.name))
        return Theme::panelMarked();
    switch (entry.kind) {
    case FileEntry::Kind::parentDirectory:
    case FileEntry::Kind::directory:
        return Theme::panelDirectory();
    case FileEntry::Kind::archive:
        return Theme::panelArchive();
    case FileEntry::Kind::regularFile:
    case FileEntry::Kind::symlink:
        break;
    }
    return Theme::panelText();
}

void PanelListModel::restyleRow(int row)
{
    if (row >= 0 && row < rowCount())
        emit dataChanged(index(row), index(row), { Qt::ForegroundRole });
}

void PanelListModel::restyleAllRows()
{
    if (rowCount() > 0)
        emit dataChanged(index(0), index(rowCount() - 1), { Qt::ForegroundRole });
}

} // namespace kiv
