#pragma once

#include "app/StringTable.h"

#include <QAbstractListModel>

class QComboBox;

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

// Shows `names` as the entries of `list`, through a PaletteListModel that the
// list gets on first use. The menu-like pop-up that some styles give a
// drop-down list measures the text of every entry before it opens, seconds
// for a million palettes: a long list opens as a scrolled list instead.
void ShowPaletteNames(QComboBox* list, const StringTable& names);
