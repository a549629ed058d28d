#include "models/ColorInfoPage.h"

#include "app/TextEncoding.h"

#include <QSaveFile>

namespace colorinfo {

namespace {

QString valueLine(const QString& value)
{
    return QStringLiteral("<td width=33%><font face=Tahoma size=2>") + HtmlText(value) +
           QStringLiteral("</font></td>");
}

QString labelLine(const QString& label)
{
    return QStringLiteral("<td width=33%><font face=Tahoma size=2>") + label +
           QStringLiteral("</font></td>");
}

QString groupLine(const QString& group)
{
    return QStringLiteral("<td width=34%><font face=Tahoma size=2><b>") + group +
           QStringLiteral(":</b></font></td>");
}

const QString NoGroup = QStringLiteral("<td width=34%></td>");
const QString NextRow[] = {QStringLiteral("</tr>"), QStringLiteral("<tr>")};

} // namespace

QString HtmlText(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            escaped += QStringLiteral("&amp;");
            break;
        case u'<':
            escaped += QStringLiteral("&lt;");
            break;
        case u'>':
            escaped += QStringLiteral("&gt;");
            break;
        case u'"':
            escaped += QStringLiteral("&quot;");
            break;
        case u'\'':
            escaped += QStringLiteral("&#39;");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

QString UnquotedAttribute(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        const bool plain = (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') ||
                           (c >= U'a' && c <= U'z') || c == U'#';
        if (plain)
            escaped += QChar(char16_t(c));
        else
            escaped += QStringLiteral("&#%1;").arg(quint32(c));
    }
    return escaped;
}

QStringList PageLines(const PageTexts& texts)
{
    QStringList lines{
        QStringLiteral("<html>"),
        QStringLiteral("<head>"),
        QStringLiteral("<title>Color Info</title>"),
        QStringLiteral("</head>"),
        QStringLiteral("<body topmargin=0 leftmargin=0 marginwidth=0 marginheight=0>"),
        QStringLiteral("<table border=0 cellpadding=0 cellspacing=0 width=100% height=100%>"),
        QStringLiteral("<tr>"),
        QStringLiteral("<td width=20% valign=top>"),
        QStringLiteral("<table border=0 cellpadding=5 cellspacing=0 width=180>"),
        QStringLiteral("<tr>"),
        QStringLiteral("<td width=100% colspan=3>"),
        QStringLiteral("<p align=center><b><font face=Tahoma size=3>Color Info</font></b></td>"),
        QStringLiteral("</tr>"),
        QStringLiteral("<tr>"),
        QStringLiteral("<td width=100% colspan=3>"),
        QStringLiteral("<p align=center><font face=Tahoma size=2><b>") + HtmlText(texts.hex) +
            QStringLiteral("</b></font></td>"),
    };

    // One table row per component: the group name on the group's first row,
    // the component's label and its value.
    const auto row = [&lines](const QString& group, const QString& label, const QString& value) {
        lines << NextRow[0] << NextRow[1];
        lines << (group.isEmpty() ? NoGroup : groupLine(group)) << labelLine(label)
              << valueLine(value);
    };
    row(QStringLiteral("RGB"), QStringLiteral("R"), texts.red);
    row({}, QStringLiteral("G"), texts.green);
    row({}, QStringLiteral("B"), texts.blue);
    row(QStringLiteral("CMY"), QStringLiteral("C"), texts.cyan);
    row({}, QStringLiteral("M"), texts.magenta);
    row({}, QStringLiteral("Y"), texts.yellow);
    row(QStringLiteral("CMYK"), QStringLiteral("C"), texts.cmykCyan);
    row({}, QStringLiteral("M"), texts.cmykMagenta);
    row({}, QStringLiteral("Y"), texts.cmykYellow);
    // The page has always written the K label over three lines.
    lines << NextRow[0] << NextRow[1] << NoGroup
          << QStringLiteral("<td width=33%><font face=Tahoma size=2>K") << QStringLiteral("</font>")
          << QStringLiteral("</td>") << valueLine(texts.cmykBlack);
    row(QStringLiteral("YCbCr"), QStringLiteral("Y"), texts.luma);
    row({}, QStringLiteral("Cb"), texts.blueChroma);
    row({}, QStringLiteral("Cr"), texts.redChroma);

    lines << QStringLiteral("</tr>") << QStringLiteral("</table>") << QStringLiteral("</td>")
          << QStringLiteral("<td width=80% bgcolor=") + UnquotedAttribute(texts.hex) +
                 QStringLiteral("></td>")
          << QStringLiteral("</tr>") << QStringLiteral("</table>") << QStringLiteral("</body>")
          << QStringLiteral("</html>");
    return lines;
}

QByteArray PageContent(const PageTexts& texts)
{
    // Encoded as a whole, so that the page never mixes two encodings.
    const QString crLf = QStringLiteral("\r\n");
    return textencoding::EncodeLine(PageLines(texts).join(crLf) + crLf);
}

FileResult SavePage(const QString& path, const PageTexts& texts)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return FileResult::failure(
            describeFileError(QStringLiteral("save"), path, file.errorString()));
    const QByteArray content = PageContent(texts);
    if (file.write(content) != content.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return FileResult::failure(describeFileError(QStringLiteral("save"), path, reason));
    }
    if (!file.commit())
        return FileResult::failure(
            describeFileError(QStringLiteral("save"), path, file.errorString()));
    return FileResult::success();
}

} // namespace colorinfo
