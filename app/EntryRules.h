#pragma once

#include <QChar>
#include <QString>

// Rules of the six colour entry fields: which typed characters pass, and how a
// field's text is repaired after every change.
namespace entryrules {

enum class FieldKind { Decimal, Hexadecimal };

constexpr char16_t EnterCode = 13;
constexpr char16_t BackspaceCode = 8;

// A typed character passes the field's key filter.
bool KeyPasses(FieldKind kind, QChar typed);

// The text the field must hold after its text changed to `text`; equal to
// `text` when it is already valid.
QString Repair(FieldKind kind, const QString& text);

// The channel value held by a valid field text (decimal 0-255, or hex digits).
int ChannelValue(FieldKind kind, const QString& text);

} // namespace entryrules
