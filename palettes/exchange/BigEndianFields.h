#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

// The big-endian fields of the binary swatch formats (Adobe's .ase and .aco),
// read and written in one place.
namespace bigendian {

// Reads big-endian values from a run of bytes. Every read must be preceded by
// has(): the reader never checks again, so that a caller's single check
// covers a whole record.
class Reader
{
public:
    explicit Reader(QByteArrayView bytes) : m_bytes(bytes) {}

    qsizetype position() const { return m_at; }
    qsizetype remaining() const { return m_bytes.size() - m_at; }
    bool has(qsizetype count) const { return count >= 0 && count <= remaining(); }

    quint16 u16();
    quint32 u32();
    float f32();
    QByteArrayView take(qsizetype count);

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

void AppendU16(QByteArray& out, quint16 value);
void AppendU32(QByteArray& out, quint32 value);

// A name from its UTF-16 code units: closing zeros are dropped; nothing when
// a surrogate is unpaired.
std::optional<QString> NameFromUnits(QList<char16_t> units);

// The name with every unpaired surrogate replaced by U+FFFD.
QString ValidName(const QString& name);

// At most `maxUnits` code units of the name, valid UTF-16 (as ValidName makes
// it), never half of a surrogate pair.
QString CutName(const QString& name, qsizetype maxUnits);

// The name's code units, big-endian, followed by one closing 0.
QByteArray UnitsWithClosingZero(const QString& name);

} // namespace bigendian
