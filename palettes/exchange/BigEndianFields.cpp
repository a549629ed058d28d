#include "palettes/exchange/BigEndianFields.h"

#include <QtEndian>

#include <bit>

namespace bigendian {

quint16 Reader::u16()
{
    const quint16 value = qFromBigEndian<quint16>(m_bytes.data() + m_at);
    m_at += 2;
    return value;
}

quint32 Reader::u32()
{
    const quint32 value = qFromBigEndian<quint32>(m_bytes.data() + m_at);
    m_at += 4;
    return value;
}

float Reader::f32()
{
    return std::bit_cast<float>(u32());
}

QByteArrayView Reader::take(qsizetype count)
{
    const QByteArrayView part = m_bytes.sliced(m_at, count);
    m_at += count;
    return part;
}

void AppendU16(QByteArray& out, quint16 value)
{
    out.append(char(value >> 8)).append(char(value & 0xFF));
}

void AppendU32(QByteArray& out, quint32 value)
{
    AppendU16(out, quint16(value >> 16));
    AppendU16(out, quint16(value & 0xFFFF));
}

std::optional<QString> NameFromUnits(QList<char16_t> units)
{
    while (!units.isEmpty() && units.constLast() == 0)
        units.removeLast();
    for (qsizetype i = 0; i < units.size(); ++i) {
        if (QChar::isLowSurrogate(units.at(i)))
            return std::nullopt;
        if (QChar::isHighSurrogate(units.at(i))) {
            if (i + 1 >= units.size() || !QChar::isLowSurrogate(units.at(i + 1)))
                return std::nullopt;
            ++i;
        }
    }
    return QString::fromUtf16(units.constData(), units.size());
}

QString ValidName(const QString& name)
{
    QString valid = name;
    for (qsizetype i = 0; i < valid.size(); ++i) {
        const QChar unit = valid.at(i);
        if (unit.isHighSurrogate() && i + 1 < valid.size() && valid.at(i + 1).isLowSurrogate())
            ++i;
        else if (unit.isSurrogate())
            valid[i] = QChar::ReplacementCharacter;
    }
    return valid;
}

QString CutName(const QString& name, qsizetype maxUnits)
{
    // Names come from any reader (a JSON escape can hold half a pair); the
    // readers of these formats refuse what is not UTF-16, so nothing written
    // may hold a lone surrogate.
    QString kept = ValidName(name.left(maxUnits + 1)).left(maxUnits);
    if (!kept.isEmpty() && kept.back().isHighSurrogate())
        kept.chop(1);
    return kept;
}

QByteArray UnitsWithClosingZero(const QString& name)
{
    QByteArray data;
    data.reserve((name.size() + 1) * 2);
    for (const QChar unit : name)
        AppendU16(data, unit.unicode());
    AppendU16(data, 0);
    return data;
}

} // namespace bigendian
