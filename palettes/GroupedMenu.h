#pragma once

#include "app/StringTable.h"

#include <QObject>

#include <functional>

class QAction;
class QMenu;

// Fills a menu with one item per name for lists too long for one menu: the
// items come in nested groups of at most GroupSize, each group a submenu
// captioned with its first and last name and filled only when it is first
// opened. So a list of a million names costs a few submenus up front and
// reaches any item in four steps.
class GroupedMenu : public QObject
{
    Q_OBJECT
public:
    // Groups that fit a screen 800 pixels high.
    static constexpr qsizetype GroupSize = 32;

    // Creates the item for name `k` in `menu` (adding it there).
    using ItemMaker = std::function<QAction*(QMenu* menu, qsizetype k, const QString& name)>;

    explicit GroupedMenu(QObject* parent = nullptr);

    // Adds to `menu` a separator and the groups for names `first` to the end
    // of `names`, replacing those of an earlier fill.
    void fill(QMenu* menu, const StringTable& names, qsizetype first, ItemMaker makeItem);
    // Removes the separator and the groups of the last fill.
    void clear();

private:
    void addRange(QMenu* menu, qsizetype first, qsizetype end, bool topLevel);
    QString groupCaption(qsizetype first, qsizetype last) const;

    StringTable m_names;
    ItemMaker m_makeItem;
    qsizetype m_branching = GroupSize;
    QList<QMenu*> m_groups;
    QAction* m_separator = nullptr;
};
