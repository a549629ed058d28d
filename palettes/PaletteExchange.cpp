#include "palettes/PaletteExchange.h"

#include "app/TextBounds.h"
#include "palettes/GimpPalette.h"
#include "palettes/SwatchExchange.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>

namespace paletteexchange {

namespace {

const QByteArray GimpMagic = QByteArrayLiteral("GIMP Palette");
const QByteArray SwatchMagic = QByteArrayLiteral("ASEF");
const QByteArray Utf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

// A CSS identifier part from the palette name: its letters and digits, of any
// script, in lower case, every other run of characters one hyphen. Every
// character from U+0080 up may stand in an identifier as it is; the file is
// UTF-8 and says so when it holds any (CssText).
QString cssNamePart(const QString& name)
{
    QString part;
    for (const char32_t u : name.toUcs4()) {
        const bool ascii = u < 0x80;
        const bool keep = ascii ? ((u >= U'a' && u <= U'z') || (u >= U'A' && u <= U'Z') ||
                                   (u >= U'0' && u <= U'9'))
                                : (QChar::isLetterOrNumber(u) || QChar::isMark(u));
        if (keep) {
            const char32_t lower = QChar::toLower(u);
            part += QString::fromUcs4(&lower, 1);
        }
        else if (!part.isEmpty() && !part.endsWith(QLatin1Char('-')))
            part += QLatin1Char('-');
    }
    while (part.endsWith(QLatin1Char('-')))
        part.chop(1);
    return part.isEmpty() ? QStringLiteral("color") : part;
}

} // namespace

std::optional<Format> FormatOfFileName(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    for (const Format format : {Format::Gimp, Format::SwatchExchange, Format::Css, Format::Json})
        if (suffix == ExtensionOf(format))
            return format;
    return std::nullopt;
}

QString ExtensionOf(Format format)
{
    switch (format) {
    case Format::Gimp:
        return QStringLiteral("gpl");
    case Format::SwatchExchange:
        return QStringLiteral("ase");
    case Format::Css:
        return QStringLiteral("css");
    case Format::Json:
        return QStringLiteral("json");
    }
    return {};
}

QString ExportFilter()
{
    return QStringLiteral("GIMP palette (*.gpl);;Adobe swatch exchange (*.ase);;"
                          "CSS custom properties (*.css);;JSON (*.json)");
}

QString ImportFilter()
{
    return QStringLiteral("Palettes (*.gpl *.ase);;GIMP palette (*.gpl);;"
                          "Adobe swatch exchange (*.ase);;All files (*)");
}

QString ProposedBaseName(const QString& paletteName)
{
    QString base;
    for (const QChar c : paletteName)
        base += (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c)) ? QChar(u'_') : c;
    base = base.trimmed();
    while (base.startsWith(QLatin1Char('.')))
        base.remove(0, 1);
    return base.isEmpty() ? QStringLiteral("palette") : base;
}

QByteArray CssText(const ExchangePalette& palette)
{
    // The file may end up inside a style element of a page: neither "*/" nor
    // "</style>" (nor "<!--") in the name may end the comment or the element.
    QString comment = palette.name;
    comment.replace(QLatin1String("*/"), QLatin1String("* /"))
        .replace(QLatin1Char('<'), QLatin1String("\\3C "))
        .replace(QLatin1Char('>'), QLatin1String("\\3E "))
        .replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString prefix = QStringLiteral("  --") + cssNamePart(palette.name) + QLatin1Char('-');
    QString text = QStringLiteral("/* ") + comment + QStringLiteral(" */\n:root {\n");
    for (qsizetype i = 0; i < palette.colors.size(); ++i)
        text += prefix + QString::number(i + 1) + QStringLiteral(": ") +
                bascommon::ColorToHtmlHex(palette.colors.at(i)) + QStringLiteral(";\n");
    text += QStringLiteral("}\n");
    // Without the rule a style sheet is read in the encoding of the page that
    // links it, which may not be UTF-8.
    const QByteArray utf8 = text.toUtf8();
    const bool allAscii = std::all_of(utf8.cbegin(), utf8.cend(), [](char c) { return (c & 0x80) == 0; });
    if (!allAscii)
        return QByteArrayLiteral("@charset \"UTF-8\";\n") + utf8;
    return utf8;
}

QByteArray JsonText(const ExchangePalette& palette)
{
    QJsonArray colors;
    for (const Color color : palette.colors)
        colors.append(bascommon::ColorToHtmlHex(color));
    QJsonObject object;
    object.insert(QStringLiteral("name"), palette.name);
    object.insert(QStringLiteral("colors"), colors);
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

QByteArray Encode(Format format, const ExchangePalette& palette)
{
    switch (format) {
    case Format::Gimp:
        return gimppalette::Write(palette);
    case Format::SwatchExchange:
        return swatchexchange::Write(palette);
    case Format::Css:
        return CssText(palette);
    case Format::Json:
        return JsonText(palette);
    }
    return {};
}

ExchangeReading Decode(QByteArrayView content)
{
    if (content.startsWith(SwatchMagic))
        return swatchexchange::Read(content);
    QByteArrayView text = content;
    if (text.startsWith(Utf8Bom))
        text = text.sliced(Utf8Bom.size());
    if (text.startsWith(GimpMagic))
        return gimppalette::Read(content);
    return ExchangeReading::failure(
        content.isEmpty()
            ? QStringLiteral("the file is empty")
            : QStringLiteral("it is neither a GIMP palette (.gpl) nor an Adobe swatch exchange "
                             "file (.ase)"));
}

FileResult ImportFile(const QString& path, ExchangePalette& palette)
{
    palette = {};
    const QString action = QStringLiteral("import the palette in");
    const QFileInfo info(path);
    if (info.isDir())
        return FileResult::failure(
            describeFileError(action, path, QStringLiteral("it is a folder")));
    if (info.size() > MaxFileBytes)
        return FileResult::failure(describeFileError(
            action, path,
            QStringLiteral("at %1 bytes it is too large for a palette (the limit is %2 MiB)")
                .arg(info.size())
                .arg(MaxFileBytes / (1024 * 1024))));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileResult::failure(describeFileError(action, path, file.errorString()));
    // Read with a bound as well: the file may have grown since it was measured.
    const QByteArray content = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return FileResult::failure(describeFileError(action, path, file.errorString()));
    if (content.size() > MaxFileBytes)
        return FileResult::failure(
            describeFileError(action, path,
                              QStringLiteral("it is too large for a palette (the limit is %1 MiB)")
                                  .arg(MaxFileBytes / (1024 * 1024))));
    const ExchangeReading reading = Decode(content);
    if (!reading.ok())
        return FileResult::failure(describeFileError(action, path, reading.problem));
    palette = reading.palette;
    return FileResult::success();
}

FileResult ExportFile(const QString& path, Format format, const ExchangePalette& palette)
{
    return WriteExport(path, Encode(format, palette), QStringLiteral("export the palette to"));
}

FileResult WriteExport(const QString& path, const QByteArray& content, const QString& action)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return FileResult::failure(describeFileError(action, path, file.errorString()));
    if (file.write(content) != content.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return FileResult::failure(describeFileError(action, path, reason));
    }
    if (!file.commit())
        return FileResult::failure(describeFileError(action, path, file.errorString()));
    return FileResult::success();
}

QString CssNamePart(const QString& paletteName)
{
    return cssNamePart(paletteName);
}

QString ImportedName(const ExchangePalette& palette, const QString& path, bool* cut)
{
    if (cut)
        *cut = false;
    QString name = bascommon::TrimSpaces(palette.name);
    if (name.isEmpty())
        name = bascommon::TrimSpaces(QFileInfo(path).completeBaseName());
    // A display name is never empty; the name dialog's word for none.
    return name.isEmpty() ? QStringLiteral("Untiltled") : textbounds::BoundName(name, cut);
}

} // namespace paletteexchange
