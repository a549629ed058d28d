#include "palettes/PaletteListModel.h"

PaletteListModel::PaletteListModel(QObject* parent) : QAbstractListModel(parent) {}

void PaletteListModel::setNames(const StringTable& names)
{
    beginResetModel();
    m_names = names;
    endResetModel();
}

int PaletteListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_names.size());
}

QVariant PaletteListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_names.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::ToolTipRole)
        return m_names.at(index.row());
    return {};
}
