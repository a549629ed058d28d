#include "palettes/exchange/PaletteExchange.h"

#include "app/TextBounds.h"
#include "palettes/exchange/DesignTokens.h"
#include "palettes/exchange/ExchangeNames.h"
#include "palettes/exchange/ExchangeText.h"
#include "palettes/exchange/GimpPalette.h"
#include "palettes/exchange/JsonTree.h"
#include "palettes/exchange/JsonWriting.h"
#include "palettes/exchange/OfficePalette.h"
#include "palettes/PaletteNames.h"
#include "palettes/PaletteRecords.h"
#include "palettes/exchange/PhotoshopSwatches.h"
#include "palettes/exchange/SketchPalette.h"
#include "palettes/exchange/StyleSheetHarvest.h"
#include "palettes/exchange/StyleSheetPalette.h"
#include "palettes/exchange/SwatchExchange.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace paletteexchange {

namespace {

const QByteArray GimpMagic = QByteArrayLiteral("GIMP Palette");
const QByteArray SwatchMagic = QByteArrayLiteral("ASEF");
const QByteArray Utf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

const QList<Format> AllFormats = {
    Format::Gimp,      Format::SwatchExchange, Format::Css,    Format::Json,
    Format::Photoshop, Format::Office,         Format::Sketch, Format::DesignTokens,
    Format::Tailwind,  Format::Scss,           Format::Less,
};

// Extensions that fit the name, the longest first, with their formats.
QList<Format> formatsOfFileName(const QString& fileName)
{
    const QString name = QFileInfo(fileName).fileName().toLower();
    QList<QPair<qsizetype, Format>> fits;
    for (const Format format : AllFormats)
        for (const QString& extension : ExtensionsOf(format))
            if (name.size() > extension.size() + 1 && name.endsWith(QLatin1Char('.') + extension)) {
                fits.append({extension.size(), format});
                break;
            }
    std::stable_sort(fits.begin(), fits.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    QList<Format> formats;
    for (const auto& fit : fits)
        formats.append(fit.second);
    return formats;
}

// This program's JSON, or an old Sketch palette without versions, which has
// the same shape: "colors" a list of hex strings, "name" optional.
bool isColorList(const jsontree::Value& root)
{
    const jsontree::Value colors = root.member(u"colors");
    if (!root.isObject() || !colors.isArray())
        return false;
    for (const jsontree::Value& child : root.children())
        if (child.key().startsWith(QLatin1Char('$')))
            return false;
    const QList<jsontree::Value> items = colors.children();
    return std::all_of(items.begin(), items.end(),
                       [](const jsontree::Value& item) { return item.isString(); });
}

ExchangeReading readColorList(QByteArrayView content, const jsontree::Value& root)
{
    ExchangeReading reading;
    if (const jsontree::Value name = root.member(u"name"); name.isString())
        reading.palette.name = name.string();
    const QList<jsontree::Value> items = root.member(u"colors").children();
    if (items.size() > MaxColors)
        return ExchangeReading::failure(TooManyColors());
    for (qsizetype i = 0; i < items.size(); ++i) {
        const std::optional<Color> color =
            exchangetext::HexColor(items.at(i).string().trimmed(), exchangetext::HexForms::Css);
        if (!color)
            return ExchangeReading::failure(
                QStringLiteral("at %1 colour %2, \"%3\", is not a hex colour such as #FF8800")
                    .arg(exchangetext::Where(content, items.at(i).offset()))
                    .arg(i + 1)
                    .arg(exchangetext::Shown(items.at(i).string())));
        reading.palette.colors.append(*color);
    }
    return reading;
}

// Whether the JSON uses the "$" properties of design tokens anywhere.
bool hasTokenProperties(const jsontree::Value& value, int depth = 0)
{
    if (depth > jsontree::MaxDepth)
        return false;
    for (const jsontree::Value& child : value.children()) {
        if (value.isObject() && child.key().startsWith(QLatin1Char('$')))
            return true;
        if ((child.isObject() || child.isArray()) && hasTokenProperties(child, depth + 1))
            return true;
    }
    return false;
}

ExchangeReading decodeJson(QByteArrayView content, ReadingProgress* progress)
{
    const jsontree::Document document = jsontree::Parse(content, progress);
    if (document.stopped())
        return ExchangeReading::stoppedByUser();
    if (!document.ok())
        return ExchangeReading::failure(
            QStringLiteral("at %1 it is not JSON: %2")
                .arg(exchangetext::Where(content, document.errorOffset()), document.problem()));
    const jsontree::Value root = document.root();
    if (sketchpalette::IsSketchPalette(root))
        return sketchpalette::FromJson(content, document);
    if (isColorList(root))
        return readColorList(content, root);
    if (!hasTokenProperties(root))
        return ExchangeReading::failure(QStringLiteral(
            "it is JSON, but neither design tokens, a Sketch palette nor a list of colours"));
    return designtokens::FromJson(content, document);
}

} // namespace

QList<Format> ExportFormats()
{
    return {Format::Gimp,   Format::SwatchExchange, Format::Photoshop, Format::Office,
            Format::Sketch, Format::DesignTokens,   Format::Tailwind,  Format::Css,
            Format::Scss,   Format::Less,           Format::Json};
}

std::optional<Format> FormatOfFileName(const QString& fileName)
{
    const QList<Format> formats = formatsOfFileName(fileName);
    return formats.isEmpty() ? std::nullopt : std::optional<Format>(formats.first());
}

std::optional<Format> FormatForExport(const QString& fileName, const QString& chosenFilter)
{
    const QList<Format> formats = formatsOfFileName(fileName);
    for (const Format format : formats)
        if (FilterOf(format) == chosenFilter)
            return format;
    return formats.isEmpty() ? std::nullopt : std::optional<Format>(formats.first());
}

QString ExtensionOf(Format format)
{
    return ExtensionsOf(format).constFirst();
}

QStringList ExtensionsOf(Format format)
{
    switch (format) {
    case Format::Gimp:
        return {QStringLiteral("gpl")};
    case Format::SwatchExchange:
        return {QStringLiteral("ase")};
    case Format::Css:
    case Format::Tailwind:
        return {QStringLiteral("css")};
    case Format::Json:
        return {QStringLiteral("json")};
    case Format::Photoshop:
        return {QStringLiteral("aco")};
    case Format::Office:
        return {QStringLiteral("soc")};
    case Format::Sketch:
        return {QStringLiteral("sketchpalette")};
    case Format::DesignTokens:
        // Plain .json too, so that a name typed as brand.json with this
        // format chosen in the dialog still gets design tokens.
        return {QStringLiteral("tokens.json"), QStringLiteral("tokens"), QStringLiteral("json")};
    case Format::Scss:
        return {QStringLiteral("scss")};
    case Format::Less:
        return {QStringLiteral("less")};
    }
    return {QString()};
}

QString ShortNameOf(Format format)
{
    switch (format) {
    case Format::DesignTokens:
        return QStringLiteral("tokens");
    case Format::Tailwind:
        return QStringLiteral("tailwind");
    default:
        return ExtensionOf(format);
    }
}

std::optional<Format> FormatNamed(const QString& shortName)
{
    for (const Format format : AllFormats)
        if (ShortNameOf(format).compare(shortName, Qt::CaseInsensitive) == 0)
            return format;
    return std::nullopt;
}

QStringList ShortNames()
{
    QStringList names;
    for (const Format format : ExportFormats())
        names.append(ShortNameOf(format));
    return names;
}

QString FilterOf(Format format)
{
    switch (format) {
    case Format::Gimp:
        return QStringLiteral("GIMP palette (*.gpl)");
    case Format::SwatchExchange:
        return QStringLiteral("Adobe swatch exchange (*.ase)");
    case Format::Css:
        return QStringLiteral("CSS custom properties (*.css)");
    case Format::Json:
        return QStringLiteral("JSON (*.json)");
    case Format::Photoshop:
        return QStringLiteral("Adobe Photoshop swatches (*.aco)");
    case Format::Office:
        return QStringLiteral("LibreOffice palette (*.soc)");
    case Format::Sketch:
        return QStringLiteral("Sketch palette (*.sketchpalette)");
    case Format::DesignTokens:
        return QStringLiteral("Design tokens (*.tokens.json *.tokens)");
    case Format::Tailwind:
        return QStringLiteral("Tailwind CSS theme (*.css)");
    case Format::Scss:
        return QStringLiteral("SCSS variables (*.scss)");
    case Format::Less:
        return QStringLiteral("Less variables (*.less)");
    }
    return {};
}

QString ExportFilter()
{
    QStringList filters;
    for (const Format format : ExportFormats())
        filters.append(FilterOf(format));
    return filters.join(QStringLiteral(";;"));
}

QString ImportFilter()
{
    QStringList filters = {QStringLiteral(
        "Palettes and style sheets (*.gpl *.ase *.aco *.soc *.sketchpalette *.tokens.json "
        "*.tokens *.json *.css *.scss *.less *.html *.htm)")};
    for (const Format format : ExportFormats())
        if (format != Format::Tailwind && format != Format::Css && format != Format::Scss &&
            format != Format::Less)
            filters.append(FilterOf(format));
    filters.append(QStringLiteral("Style sheets and web pages (*.css *.scss *.less *.html *.htm)"));
    filters.append(QStringLiteral("All files (*)"));
    return filters.join(QStringLiteral(";;"));
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
    return stylesheetpalette::Write(stylesheetpalette::Dialect::CustomProperties, palette);
}

QByteArray JsonText(const ExchangePalette& palette)
{
    jsonwriting::Writer json;
    json.beginObject().key("name").string(palette.name).key("colors").beginArray();
    for (const Color color : palette.colors)
        json.string(bascommon::ColorToHtmlHex(color));
    return json.endArray().endObject().text();
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
    case Format::Photoshop:
        return photoshopswatches::Write(palette);
    case Format::Office:
        return officepalette::Write(palette);
    case Format::Sketch:
        return sketchpalette::Write(palette);
    case Format::DesignTokens:
        return designtokens::Write(palette);
    case Format::Tailwind:
        return stylesheetpalette::Write(stylesheetpalette::Dialect::TailwindTheme, palette);
    case Format::Scss:
        return stylesheetpalette::Write(stylesheetpalette::Dialect::Scss, palette);
    case Format::Less:
        return stylesheetpalette::Write(stylesheetpalette::Dialect::Less, palette);
    }
    return {};
}

QString ExportProblem(Format format, const ExchangePalette& palette)
{
    if (format == Format::Photoshop && palette.colors.size() > photoshopswatches::MaxColors)
        return QStringLiteral("Photoshop swatches hold at most %1 colors, and the palette has %2")
            .arg(photoshopswatches::MaxColors)
            .arg(palette.colors.size());
    return {};
}

ExchangeReading Decode(QByteArrayView content, ReadingProgress* progress)
{
    if (content.isEmpty())
        return ExchangeReading::failure(QStringLiteral("the file is empty"));
    if (content.startsWith(SwatchMagic))
        return swatchexchange::Read(content);
    // A Photoshop swatches file begins with its version, 1 or 2, in 16 bits;
    // no text begins with a 0 byte.
    if (content.size() >= 2 && content.at(0) == 0 && (content.at(1) == 1 || content.at(1) == 2))
        return photoshopswatches::Read(content);
    QByteArrayView text = content;
    if (text.startsWith(Utf8Bom))
        text = text.sliced(Utf8Bom.size());
    if (text.startsWith(GimpMagic))
        return gimppalette::Read(content, progress);
    const QByteArrayView start = text.trimmed();
    if (start.startsWith('<') && officepalette::IsOfficePalette(content))
        return officepalette::Read(content);
    if (start.startsWith('{') || start.startsWith('['))
        return decodeJson(content, progress);
    if (std::optional<ExchangePalette> written = stylesheetpalette::ReadWritten(content)) {
        ExchangeReading reading;
        reading.palette = std::move(*written);
        return reading;
    }
    // Binary files of other kinds hold zero bytes; no style sheet does.
    if (const qsizetype zero = content.indexOf('\0'); zero >= 0)
        return ExchangeReading::failure(
            QStringLiteral("it is not a palette file of a known format (GIMP, Adobe swatch "
                           "exchange, Photoshop swatches, LibreOffice, Sketch, design tokens, "
                           "JSON) and not text: byte %1 is a zero byte")
                .arg(zero));
    return stylesheetharvest::LooksLikeMarkup(content)
               ? stylesheetharvest::FromWebPage(content, progress)
               : stylesheetharvest::FromStyleSheet(content, progress);
}

namespace {

// Opens a file chosen to be read, refusing anything but a plain file: a named
// pipe would block the program for good (even its opening does, until a
// writer comes), and a device can give endless bytes.
FileResult openPlainFile(QFile& file, const QString& path, const QString& action)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return FileResult::failure(
            describeFileError(action, path, QString::fromLocal8Bit(std::strerror(errno))));
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return FileResult::failure(
            describeFileError(action, path, QStringLiteral("it is not a plain file")));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return FileResult::failure(describeFileError(action, path, file.errorString()));
    }
#else
    if (!QFileInfo(path).isFile())
        return FileResult::failure(
            describeFileError(action, path, QStringLiteral("it is not a plain file")));
    if (!file.open(QIODevice::ReadOnly))
        return FileResult::failure(describeFileError(action, path, file.errorString()));
#endif
    return FileResult::success();
}

} // namespace

FileResult ImportFile(const QString& path, ExchangePalette& palette, const Progress& progress)
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
    if (FileResult opened = openPlainFile(file, path, action); !opened)
        return opened;
    // Read in parts, for the progress, and with a bound as well: the file may
    // have grown since it was measured. Reading takes the first half of the
    // progress, decoding the second.
    const qint64 expected = std::max<qint64>(1, std::min(info.size(), MaxFileBytes));
    constexpr qint64 Part = 4 * 1024 * 1024;
    QByteArray content;
    while (content.size() <= MaxFileBytes) {
        const QByteArray part = file.read(std::min(Part, MaxFileBytes + 1 - content.size()));
        if (part.isEmpty())
            break;
        content += part;
        if (progress && !progress(std::min<qint64>(content.size(), expected), 2 * expected))
            return FileResult::cancelled();
    }
    if (file.error() != QFileDevice::NoError)
        return FileResult::failure(describeFileError(action, path, file.errorString()));
    if (content.size() > MaxFileBytes)
        return FileResult::failure(
            describeFileError(action, path,
                              QStringLiteral("it is too large for a palette (the limit is %1 MiB)")
                                  .arg(MaxFileBytes / (1024 * 1024))));
    const Progress decoding = [&progress, expected](qint64 done, qint64 total) {
        return progress(expected + (total > 0 ? done * expected / total : 0), 2 * expected);
    };
    ReadingProgress steps(progress ? decoding : Progress(), content.size());
    const ExchangeReading reading = Decode(content, &steps);
    if (reading.stopped)
        return FileResult::cancelled();
    if (!reading.ok())
        return FileResult::failure(describeFileError(action, path, reading.problem));
    palette = reading.palette;
    return FileResult::success();
}

FileResult ReadForExport(const QString& palettePath, QList<Color>& colors)
{
    if (const qint32 count = paletterecords::CountRecords(palettePath); count > MaxColors)
        return FileResult::failure(describeFileError(
            QStringLiteral("export the palette"), palettePath,
            QStringLiteral("it holds %1 colors, and an exported palette holds at most %2")
                .arg(count)
                .arg(MaxColors)));
    return paletterecords::ReadColors(palettePath, colors);
}

FileResult ReadPaletteForExport(const QString& dataFolder, const QString& file, const QString& name,
                                ExchangePalette& palette)
{
    palette = ExchangePalette();
    palette.name = name;
    if (FileResult read = ReadForExport(bascommon::DataFilePath(dataFolder, file), palette.colors);
        !read)
        return read;
    PaletteNames names;
    if (FileResult read = PaletteNames::read(dataFolder, file, names); !read)
        return read;
    if (!names.isEmpty())
        palette.names = names.list(qint32(palette.colors.size()));
    std::reverse(palette.colors.begin(), palette.colors.end());
    std::reverse(palette.names.begin(), palette.names.end());
    return FileResult::success();
}

FileResult ExportFile(const QString& path, Format format, const ExchangePalette& palette)
{
    const QString action = QStringLiteral("export the palette to");
    if (const QString problem = ExportProblem(format, palette); !problem.isEmpty())
        return FileResult::failure(describeFileError(action, path, problem));
    return WriteExport(path, Encode(format, palette), action);
}

FileResult ConvertFile(const QString& inPath, const QString& outPath, Format format)
{
    // Converting a file onto itself (a slip of the shell, or another name of
    // it) would put the other format in place of the palette.
    struct stat in = {};
    struct stat out = {};
    if (::stat(QFile::encodeName(inPath).constData(), &in) == 0 &&
        ::stat(QFile::encodeName(outPath).constData(), &out) == 0 && in.st_dev == out.st_dev &&
        in.st_ino == out.st_ino)
        return FileResult::failure(describeFileError(QStringLiteral("export the palette to"),
                                                     outPath,
                                                     QStringLiteral("it is the file converted")));
    ExchangePalette palette;
    if (FileResult read = ImportFile(inPath, palette); !read)
        return read;
    palette.name = ImportedName(palette, inPath);
    return ExportFile(outPath, format, palette);
}

FileResult WriteExport(const QString& path, const QByteArray& content, const QString& action)
{
    // The new file takes the old one's place: a device or a pipe there (say
    // /dev/null, for a user with the right to replace it) would become a
    // plain file.
    if (const QFileInfo target(path); target.exists() && !target.isFile())
        return FileResult::failure(
            describeFileError(action, path, QStringLiteral("it is not a plain file")));
    QSaveFile file(path);
    // Unbuffered, so that the write that meets a full disk fails itself; Qt
    // then says "Unknown error", the system's reason is in errno.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return FileResult::failure(describeFileError(action, path, file.errorString()));
    errno = 0;
    if (file.write(content) != content.size()) {
        const QString reason = errno != 0 ? qt_error_string(errno) : file.errorString();
        file.cancelWriting();
        return FileResult::failure(describeFileError(action, path, reason));
    }
    if (!file.commit())
        return FileResult::failure(describeFileError(action, path, file.errorString()));
    return FileResult::success();
}

QString ImportedName(const ExchangePalette& palette, const QString& path, bool* cut)
{
    if (cut)
        *cut = false;
    QString name = bascommon::TrimSpaces(palette.name);
    if (name.isEmpty()) {
        // The one extension of two parts goes whole: brand.tokens.json is "brand".
        const QString file = QFileInfo(path).fileName();
        const QString tokens = QStringLiteral(".tokens.json");
        name = file.endsWith(tokens, Qt::CaseInsensitive) ? file.chopped(tokens.size())
                                                          : QFileInfo(path).completeBaseName();
        name = bascommon::TrimSpaces(name);
    }
    // Control characters of a file's text (a NUL, an escape sequence) would
    // go into the index and every file exported later; they become spaces,
    // as in colour names.
    if (!name.isEmpty())
        name = bascommon::TrimSpaces(exchangenames::ReadName(textbounds::BoundName(name, cut)));
    // A display name is never empty; the name dialog's word for none.
    return name.isEmpty() ? QStringLiteral("Untiltled") : name;
}

} // namespace paletteexchange
