#pragma once

#include <QStringList>

// The "Color Info" page for 255, 161, 204 as it must be written, line by line.
inline QStringList expectedPinkPage()
{
    return {
        "<html>",
        "<head>",
        "<title>Color Info</title>",
        "</head>",
        "<body topmargin=0 leftmargin=0 marginwidth=0 marginheight=0>",
        "<table border=0 cellpadding=0 cellspacing=0 width=100% height=100%>",
        "<tr>",
        "<td width=20% valign=top>",
        "<table border=0 cellpadding=5 cellspacing=0 width=180>",
        "<tr>",
        "<td width=100% colspan=3>",
        "<p align=center><b><font face=Tahoma size=3>Color Info</font></b></td>",
        "</tr>",
        "<tr>",
        "<td width=100% colspan=3>",
        "<p align=center><font face=Tahoma size=2><b>#FFA1CC</b></font></td>",
        "</tr>",
        "<tr>",
        "<td width=34%><font face=Tahoma size=2><b>RGB:</b></font></td>",
        "<td width=33%><font face=Tahoma size=2>R</font></td>",
        "<td width=33%><font face=Tahoma size=2>255</font></td>",
        "</tr>",
        "<tr>",
        "<td width=34%></td>",
        "<td width=33%><font face=Tahoma size=2>G</font></td>",
        "<td width=33%><font face=Tahoma size=2>161</font></td>",
        "</tr>",
        "<tr>",
        "<td width=34%></td>",
        "<td width=33%><font face=Tahoma size=2>B</font></td>",
        "<td width=33%><font face=Tahoma size=2>204</font></td>",
        "</tr>",
        "<tr>",
        "<td width=34%><font face=Tahoma size=2><b>CMY:</b></font></td>",
        "<td width=33%><font face=Tahoma size=2>C</font></td>",
        "<td width=33%><font face=Tahoma size=2>0</font></td>",
        "</tr>",
        "<tr>",
        "<td width=34%></td>",
        "<td width=33%><font face=Tahoma size=2>M</font></td>",
        "<td width=33%><font face=Tahoma size=2>94</font></td>",
        "</tr>",
        "<tr>",
        "<td width=34%></td>",
        "<td width=33%><font face=Tahoma size=2>Y</font></td>",
        "<td width=33%><font face=Tahoma size=2>51</font></td>",
        "</tr>",
        "<tr>",
        "<td width=34%><font face=Tahoma size=2><b>CMYK:</b></font></td>",
        "<td width=33%><font face=Tahoma size=2>C</font></td>",
        "<td width=33%><font face=Tahoma size=2>0</font></td>",
        "</tr>",
        "<tr>",
        "<td width=34%></td>",
        "<td width=33%><font face=Tahoma size=2>M</font></td>",
        "<td width=33%><font face=Tahoma size=2>37</font></td>",
        "</tr>",
        "<tr>",
        "<td width=34%></td>",
        "<td width=33%><font face=Tahoma size=2>Y</font></td>",
        "<td width=33%><font face=Tahoma size=2>20</font></td>",
        "</tr>",
        "<tr>",
        "<td width=34%></td>",
        "<td width=33%><font face=Tahoma size=2>K",
        "</font>",
        "</td>",
        "<td width=33%><font face=Tahoma size=2>0</font></td>",
        "</tr>",
        "<tr>",
        "<td width=34%><font face=Tahoma size=2><b>YCbCr:</b></font></td>",
        "<td width=33%><font face=Tahoma size=2>Y</font></td>",
        "<td width=33%><font face=Tahoma size=2>194</font></td>",
        "</tr>",
        "<tr>",
        "<td width=34%></td>",
        "<td width=33%><font face=Tahoma size=2>Cb</font></td>",
        "<td width=33%><font face=Tahoma size=2>134</font></td>",
        "</tr>",
        "<tr>",
        "<td width=34%></td>",
        "<td width=33%><font face=Tahoma size=2>Cr</font></td>",
        "<td width=33%><font face=Tahoma size=2>172</font></td>",
        "</tr>",
        "</table>",
        "</td>",
        "<td width=80% bgcolor=#FFA1CC></td>",
        "</tr>",
        "</table>",
        "</body>",
        "</html>",
    };
}

// The page's lines as read back from a saved file: every line must end in CR LF.
inline QStringList pageLinesOf(const QByteArray& content, bool* everyLineEndsInCrLf)
{
    *everyLineEndsInCrLf = content.endsWith("\r\n");
    QStringList lines = QString::fromLatin1(content).split(QStringLiteral("\r\n"));
    if (*everyLineEndsInCrLf)
        lines.removeLast();
    for (const QString& line : lines)
        if (line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n')))
            *everyLineEndsInCrLf = false;
    return lines;
}
