#include "tests/scheme/SchemeTestData.h"

#include "app/bascommon.h"

namespace schemetest {

QByteArray nameList(const QStringList& names)
{
    QByteArray content;
    for (const QString& name : names)
        content += '"' + name.toLatin1() + "\"\r\n";
    return content;
}

QByteArray record(const QStringList& htmlColors)
{
    QByteArray bytes;
    for (const QString& color : htmlColors)
        bytes += (color.mid(5, 2) + color.mid(3, 2) + color.mid(1, 2)).toLatin1();
    return bytes;
}

QByteArray greyRecord(int level)
{
    const QString grey = QStringLiteral("#%1%1%1").arg(level, 2, 16, QLatin1Char('0')).toUpper();
    return record({grey, grey, grey, grey, grey, grey});
}

QString describe(const SchemeColors& colors)
{
    QStringList fields;
    for (Color color : {colors.text, colors.background, colors.normalLink, colors.visitedLink,
                        colors.activeLink, colors.hoverLink})
        fields.append(bascommon::ColorToHtmlHex(color));
    return fields.join(QLatin1Char(' '));
}

} // namespace schemetest
