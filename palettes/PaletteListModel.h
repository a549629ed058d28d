#pragma once

#include "app/StringTable.h"

#include <QAbstractListModel>

// The palette list's entries, read straight from the table of display names:
// a list of a million palettes costs no item objects of its own.
class PaletteListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit PaletteListModel(QObject* parent = nullptr);

    // Replaces every entry; a view showing the model is reset.
    void setNames(const StringTable& names);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    StringTable m_names;
};
