#include "palettes/PaletteListModel.h"

#include "app/WindowRoutines.h"

#include <QComboBox>
#include <QListView>

namespace {

constexpr qsizetype LongList = 2000;
const QString LongListStyle = QStringLiteral("QComboBox { combobox-popup: 0; }");

} // namespace

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
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_names.at(index.row());
    if (role == Qt::ToolTipRole)
        return PlainToolTip(m_names.at(index.row()));
    return {};
}

void ShowPaletteNames(QComboBox* list, const StringTable& names)
{
    auto* model = qobject_cast<PaletteListModel*>(list->model());
    if (!model) {
        model = new PaletteListModel(list);
        list->setModel(model);
        // Rows of one height: the pop-up lays out a million of them at once.
        if (auto* view = qobject_cast<QListView*>(list->view()))
            view->setUniformItemSizes(true);
    }
    model->setNames(names);
    const bool longList = names.size() > LongList;
    if (longList != (list->styleSheet() == LongListStyle)) {
        list->setStyleSheet(longList ? LongListStyle : QString());
        list->setMaxVisibleItems(longList ? 20 : 10);
        list->view()->setVerticalScrollBarPolicy(longList ? Qt::ScrollBarAlwaysOn
                                                          : Qt::ScrollBarAsNeeded);
    }
}
