#include "app/EntryField.h"

#include <QKeyEvent>

using entryrules::FieldKind;

EntryField::EntryField(FieldKind kind, QWidget* parent) : QLineEdit(parent), m_kind(kind)
{
    setMaxLength(kind == FieldKind::Decimal ? 3 : 2);
    connect(this, &QLineEdit::textChanged, this, &EntryField::repair);
}

int EntryField::channelValue() const
{
    return entryrules::ChannelValue(m_kind, text());
}

void EntryField::repair()
{
    const QString repaired = entryrules::Repair(m_kind, text());
    if (repaired == text())
        return;
    setText(repaired); // runs the repair once more, on valid text
    // A cleared or spoilt field holds a "0" that the user did not type: the
    // next key replaces it instead of being appended to it.
    if (repaired == QLatin1String("0"))
        selectAll();
}

void EntryField::keyPressEvent(QKeyEvent* event)
{
    // Copy, cut and paste arrive as control characters, which the filter
    // discards like any other; text can still come in through the context menu.
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Copy) ||
        event->matches(QKeySequence::Cut)) {
        event->accept();
        return;
    }
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (enter || key == Qt::Key_Backspace) {
        QLineEdit::keyPressEvent(event);
        if (enter)
            emit applyRequested();
        return;
    }
    // Moving and deleting keys type no character and are never filtered.
    const bool editingKey = (key >= Qt::Key_Left && key <= Qt::Key_Down) || key == Qt::Key_Home ||
                            key == Qt::Key_End || key == Qt::Key_Delete;
    if (editingKey) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) {
        event->accept();
        return;
    }
    const QString typed = event->text();
    for (QChar c : typed) {
        if (!entryrules::KeyPasses(m_kind, c)) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void EntryField::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A menu opening (also from the menu bar by Alt and a letter, where the
    // menu bar holds the focus while its menus are open) or the window
    // losing activation does not move the focus to another control of the
    // window, so nothing is applied.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason &&
        reason != Qt::ActiveWindowFocusReason)
        emit applyRequested();
}
