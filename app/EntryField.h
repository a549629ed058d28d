#pragma once

#include "app/EntryRules.h"

#include <QLineEdit>

// One of the six colour entry fields. Typing only validates: the key filter
// drops characters the field cannot hold and every change of the text is
// repaired at once; the colour is applied on Enter and when the field loses the
// focus to another control of the window.
class EntryField : public QLineEdit
{
    Q_OBJECT
public:
    EntryField(entryrules::FieldKind kind, QWidget* parent = nullptr);

    entryrules::FieldKind kind() const { return m_kind; }
    int channelValue() const;

signals:
    void applyRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void repair();

    entryrules::FieldKind m_kind;
};
