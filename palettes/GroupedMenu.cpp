#include "palettes/GroupedMenu.h"

#include <QMenu>

namespace {

QString shortCaption(const QString& name)
{
    constexpr qsizetype Shown = 24;
    QString caption = name.size() > Shown ? name.left(Shown) + QChar(0x2026) : name;
    // Names are the user's text: an "&" is a character, not a mnemonic.
    return caption.replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

GroupedMenu::GroupedMenu(QObject* parent) : QObject(parent) {}

void GroupedMenu::fill(QMenu* menu, const StringTable& names, qsizetype first, ItemMaker makeItem)
{
    clear();
    m_names = names;
    m_makeItem = std::move(makeItem);
    // The fewest levels of at most GroupSize entries, then the smallest
    // branching that still reaches every name in that many levels.
    const qsizetype count = names.size() - first;
    int levels = 1;
    for (qsizetype reach = GroupSize; reach < count; reach *= GroupSize)
        ++levels;
    m_branching = 2;
    while (true) {
        qsizetype reach = 1;
        for (int level = 0; level < levels && reach < count; ++level)
            reach *= m_branching;
        if (reach >= count)
            break;
        ++m_branching;
    }
    m_separator = menu->addSeparator();
    addRange(menu, first, names.size(), true);
}

void GroupedMenu::clear()
{
    delete m_separator;
    m_separator = nullptr;
    // Nested groups belong to their parents, so deleting the top ones is enough.
    qDeleteAll(m_groups);
    m_groups.clear();
}

void GroupedMenu::addRange(QMenu* menu, qsizetype first, qsizetype end, bool topLevel)
{
    const qsizetype count = end - first;
    if (count <= GroupSize) {
        for (qsizetype k = first; k < end; ++k)
            m_makeItem(menu, k, m_names.at(k));
        return;
    }
    // Groups of a power of the branching that splits the range into at most
    // that many groups, so that every level of the tree is about as full.
    qsizetype span = m_branching;
    while (span * m_branching < count)
        span *= m_branching;
    for (qsizetype start = first; start < end; start += span) {
        const qsizetype stop = qMin(start + span, end);
        // A nested group belongs to the group it is in and goes with it.
        auto* group = new QMenu(groupCaption(start, stop - 1), menu);
        menu->addMenu(group);
        if (topLevel)
            m_groups.append(group);
        connect(group, &QMenu::aboutToShow, this, [this, group, start, stop] {
            if (group->isEmpty())
                addRange(group, start, stop, false);
        });
    }
}

QString GroupedMenu::groupCaption(qsizetype first, qsizetype last) const
{
    return shortCaption(m_names.at(first)) + QStringLiteral(" \u2013 ") +
           shortCaption(m_names.at(last));
}
