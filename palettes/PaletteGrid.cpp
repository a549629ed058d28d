#include "palettes/PaletteGrid.h"

#include "app/ClickableLabel.h"
#include "palettes/PaletteGridLines.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>

namespace {

const char* const GridProperty = "tintoraPaletteGrid";
const char* const IndexProperty = "tintoraPaletteCell";

const QString CellDescription = QStringLiteral(
    "Enter or Space makes it the current colour; Shift+F10 or the Menu key opens more features; "
    "double-click shows colour details.");

PaletteGrid* gridOf(const QObject* cell)
{
    return qobject_cast<PaletteGrid*>(cell->property(GridProperty).value<QObject*>());
}

// A cell is a button to a screen reader, with the left click as its press
// and the right click as its menu.
class PaletteCellAccessible : public QAccessibleWidget
{
public:
    explicit PaletteCellAccessible(QWidget* cell) : QAccessibleWidget(cell, QAccessible::Button) {}

    QStringList actionNames() const override
    {
        return {pressAction(), showMenuAction(), setFocusAction()};
    }

    QStringList keyBindingsForAction(const QString& action) const override
    {
        if (action == pressAction())
            return {QStringLiteral("Return"), QStringLiteral("Space")};
        if (action == showMenuAction())
            return {QStringLiteral("Shift+F10"), QStringLiteral("Menu")};
        return {};
    }

    void doAction(const QString& action) override
    {
        PaletteGrid* grid = gridOf(widget());
        const int index = widget()->property(IndexProperty).toInt();
        if (!grid)
            return;
        if (action == pressAction())
            grid->activate(index, Qt::LeftButton);
        else if (action == showMenuAction())
            grid->activate(index, Qt::RightButton);
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* paletteCellFactory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && widget->property(IndexProperty).isValid() && gridOf(widget))
        return new PaletteCellAccessible(widget);
    return nullptr;
}

} // namespace

PaletteGrid::PaletteGrid(const QList<ClickableLabel*>& cells, int rows, QObject* parent)
    : QObject(parent), m_cells(cells), m_rows(rows)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(paletteCellFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);

    if (m_cells.isEmpty())
        return;
    const QRect first = m_cells.first()->geometry();
    const int columns = (int(m_cells.size()) + rows - 1) / rows;
    m_lines = new PaletteGridLines(columns, rows, first.size(), m_cells.first()->parentWidget());
    m_lines->move(first.topLeft());
    m_lines->show();
    m_lines->raise();

    for (int i = 0; i < m_cells.size(); ++i) {
        ClickableLabel* cell = m_cells.at(i);
        cell->setProperty(GridProperty, QVariant::fromValue<QObject*>(this));
        cell->setProperty(IndexProperty, i);
        cell->setFocusPolicy(i == m_current ? Qt::TabFocus : Qt::NoFocus);
        cell->setAccessibleDescription(CellDescription);
        cell->installEventFilter(this);
    }
}

PaletteGrid::~PaletteGrid() = default;

QString PaletteGrid::cellName(Content content, Color color, qint32 position, qint32 count,
                              const QString& name)
{
    switch (content) {
    case Content::Empty:
        return QStringLiteral("Empty cell, %1").arg(bascommon::ColorToHtmlHex(color));
    case Content::Unreadable:
        return QStringLiteral("Unreadable colour record, colour %1 of %2").arg(position).arg(count);
    case Content::Colour:
        break;
    }
    QString head = bascommon::ColorToHtmlHex(color);
    if (!name.isEmpty())
        head += QLatin1Char(' ') + name;
    // One arg() for all three: a name may hold "%2" itself.
    return QStringLiteral("%1, colour %2 of %3")
        .arg(head, QString::number(position), QString::number(count));
}

QString PaletteGrid::pageText(qint32 page, qint32 pageCount)
{
    return QStringLiteral("Page %1 of %2").arg(page).arg(pageCount);
}

void PaletteGrid::describeCell(int index, Content content, Color color, qint32 position,
                               qint32 count, const QString& colorName)
{
    if (index < 0 || index >= m_cells.size())
        return;
    const QString name = cellName(content, color, position, count, colorName);
    ClickableLabel* cell = m_cells.at(index);
    if (cell->accessibleName() != name)
        cell->setAccessibleName(name);
    if (m_lines)
        m_lines->setCellEmpty(index, content == Content::Empty);
}

void PaletteGrid::setPageButtons(QAction* previous, QAction* next)
{
    m_previous = previous;
    m_next = next;
    for (QAction* action : {previous, next})
        for (QObject* shown : action->associatedObjects())
            if (auto* button = qobject_cast<QWidget*>(shown); button && !button->inherits("QMenu"))
                button->installEventFilter(this);
}

void PaletteGrid::setPage(qint32 page, qint32 pageCount)
{
    m_pageText = pageText(page, pageCount);
    for (QAction* action : {m_previous.data(), m_next.data()}) {
        if (!action)
            continue;
        for (QObject* shown : action->associatedObjects())
            if (auto* button = qobject_cast<QWidget*>(shown); button && !button->inherits("QMenu"))
                button->setAccessibleDescription(m_pageText);
    }
}

void PaletteGrid::activate(int index, Qt::MouseButton button)
{
    if (index < 0 || index >= m_cells.size())
        return;
    ClickableLabel* cell = m_cells.at(index);
    makeCurrent(index, gridHasFocus());
    emit cellReleased(index, button, cell->mapToGlobal(cell->rect().center()));
}

bool PaletteGrid::gridHasFocus() const
{
    for (const ClickableLabel* cell : m_cells)
        if (cell->hasFocus())
            return true;
    return false;
}

void PaletteGrid::makeCurrent(int index, bool focus)
{
    if (index != m_current) {
        m_cells.at(m_current)->setFocusPolicy(Qt::NoFocus);
        m_current = index;
        m_cells.at(m_current)->setFocusPolicy(Qt::TabFocus);
    }
    if (focus)
        m_cells.at(m_current)->setFocus(Qt::OtherFocusReason);
    if (m_lines)
        m_lines->setFocusCell(m_cells.at(m_current)->hasFocus() ? m_current : -1);
}

bool PaletteGrid::cellKey(int index, const QKeyEvent& key)
{
    const int count = int(m_cells.size());
    const int row = index % m_rows;
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    int target = -1;
    switch (key.key()) {
    case Qt::Key_Up:
        target = row > 0 ? index - 1 : index;
        break;
    case Qt::Key_Down:
        target = row < m_rows - 1 && index + 1 < count ? index + 1 : index;
        break;
    case Qt::Key_Left:
        target = index >= m_rows ? index - m_rows : index;
        break;
    case Qt::Key_Right:
        target = index + m_rows < count ? index + m_rows : index;
        break;
    case Qt::Key_Home:
        target = 0;
        break;
    case Qt::Key_End:
        target = count - 1;
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        QAction* turn = key.key() == Qt::Key_PageUp ? m_previous.data() : m_next.data();
        if (turn && turn->isEnabled())
            turn->trigger();
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!key.isAutoRepeat())
            activate(index, Qt::LeftButton);
        return true;
    case Qt::Key_Menu:
        activate(index, Qt::RightButton);
        return true;
    case Qt::Key_F10:
        if (modifiers != Qt::ShiftModifier)
            return false;
        activate(index, Qt::RightButton);
        return true;
    default:
        return false;
    }
    makeCurrent(target, true);
    return true;
}

bool PaletteGrid::pageTip(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip || m_pageText.isEmpty())
        return false;
    QAction* action = nullptr;
    for (QAction* candidate : {m_previous.data(), m_next.data()})
        if (candidate && candidate->associatedObjects().contains(watched))
            action = candidate;
    if (!action)
        return false;
    // The button's own tip stays as it is; the page on display follows it.
    const auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(), action->toolTip() + QLatin1Char('\n') + m_pageText,
                       qobject_cast<QWidget*>(watched));
    return true;
}

bool PaletteGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (pageTip(watched, event))
        return true;
    // Every event of every cell passes here, hundreds while the window is
    // first shown; the cell's properties are looked up by name, so only for
    // the events the grid answers.
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::MouseButtonRelease:
        break;
    default:
        return QObject::eventFilter(watched, event);
    }
    const QVariant cellIndex = watched->property(IndexProperty);
    if (!cellIndex.isValid() || gridOf(watched) != this)
        return QObject::eventFilter(watched, event);
    const int index = cellIndex.toInt();
    switch (event->type()) {
    case QEvent::KeyPress:
        return cellKey(index, *static_cast<QKeyEvent*>(event));
    case QEvent::ShortcutOverride: {
        // The keys that work the grid are the grid's while it has the focus.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier &&
            (key->key() == Qt::Key_Space || key->key() == Qt::Key_Return ||
             key->key() == Qt::Key_Enter))
            event->accept();
        return false;
    }
    case QEvent::ContextMenu:
        // The window system follows the Menu key with a context-menu request,
        // which the key has already answered.
        return static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        if (m_lines)
            m_lines->setFocusCell(event->type() == QEvent::FocusIn ? index : -1);
        return false;
    case QEvent::MouseButtonRelease:
        // A click moves the keyboard's place to the clicked cell, and the
        // focus with it when the focus was in the grid.
        makeCurrent(index, gridHasFocus());
        return false;
    default:
        return QObject::eventFilter(watched, event);
    }
}
