#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include "models/notations/ColorNotations.h"
#include "palettes/image/ImageSource.h"
#include "palettes/image/PaletteExtraction.h"

namespace commandline {

namespace {

const QString ProgramName = QStringLiteral("tintora");

// The window system's own options, which QApplication takes from the command
// line after this parser has let them through.
struct QtOption
{
    const char* name;
    bool takesValue;
};
constexpr QtOption QtOptions[] = {
    {"platform", true},      {"platformpluginpath", true},
    {"platformtheme", true}, {"plugin", true},
    {"display", true},       {"qwindowgeometry", true},
    {"qwindowtitle", true},  {"qwindowicon", true},
    {"style", true},         {"stylesheet", true},
    {"session", true},       {"reverse", false},
    {"widgetcount", false},
};

// The options in one place, so that a new one is one more member and one
// more line in build().
struct Options
{
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Displays this help and exits.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Displays the version and exits.")};
    QCommandLineOption extract{
        QStringLiteral("extract"),
        QStringLiteral("Prints the palette of an image file without opening a window: one line "
                       "per color, its text and its share of the image, largest share first."),
        QStringLiteral("image")};
    QCommandLineOption colors{
        QStringLiteral("colors"),
        QStringLiteral("With --extract: how many colors, %1 to %2 (default %3).")
            .arg(paletteextraction::MinColors)
            .arg(paletteextraction::MaxColors)
            .arg(paletteextraction::DefaultColors),
        QStringLiteral("n")};
    QCommandLineOption format{
        QStringLiteral("format"),
        QStringLiteral("With --extract: how each color is written (default hex, #RRGGBB): %1.")
            .arg(FormatNames().join(QStringLiteral(", "))),
        QStringLiteral("name")};
    QCommandLineOption convert{
        QStringLiteral("convert"),
        QStringLiteral("Converts a palette file to another format without opening a window and "
                       "without touching the program's palettes: tintora --convert IN OUT. The "
                       "format is that of OUT's extension, or the one --to names. Exits 1, "
                       "creating no OUT, when IN cannot be read.")};
    QCommandLineOption to{
        QStringLiteral("to"),
        QStringLiteral("With --convert: the format to write, for an extension that several "
                       "share (.css: css or tailwind; .json: json or tokens): %1.")
            .arg(paletteexchange::ShortNames().join(QStringLiteral(", "))),
        QStringLiteral("format")};

    void addTo(QCommandLineParser& parser) const
    {
        parser.addOptions({help, version, extract, colors, format, convert, to});
        for (const QtOption& qt : QtOptions) {
            QCommandLineOption option(QString::fromLatin1(qt.name));
            if (qt.takesValue)
                option.setValueName(QStringLiteral("value"));
            option.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(option);
        }
    }
};

void build(QCommandLineParser& parser, const Options& options)
{
    parser.setApplicationDescription(
        QStringLiteral("Colour tool for web designers. Without options it opens its window."));
    // "-platform offscreen" is one option, as QApplication reads it.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    options.addTo(parser);
}

Request usageError(const QString& message)
{
    Request request;
    request.action = Action::UsageError;
    request.error = message;
    return request;
}

QString helpText()
{
    QCommandLineParser parser;
    const Options options;
    build(parser, options);
    return parser.helpText();
}

int extract(const Request& request, QTextStream& out, QTextStream& err)
{
    const imagesource::Loaded loaded = imagesource::ReadImageFile(request.imagePath);
    if (!loaded.ok()) {
        err << ProgramName << ": " << loaded.message << '\n';
        return ExitFailure;
    }
    const paletteextraction::Extraction palette =
        paletteextraction::Extract(loaded.image, request.colors);
    if (palette.colors.isEmpty()) {
        err << ProgramName << ": " << request.imagePath
            << " has no colors to extract: every pixel is transparent.\n";
        return ExitFailure;
    }
    const ColorFormatter formatter = *FormatNamed(request.format);
    for (const paletteextraction::PaletteColor& color : palette.colors)
        out << formatter(color.color) << ' ' << paletteextraction::ShareText(color.share) << '\n';
    return 0;
}

// --convert IN OUT [--to FORMAT], alone.
Request parseConvert(const QCommandLineParser& parser, const Options& options)
{
    if (!parser.isSet(options.convert))
        return usageError(QStringLiteral("The option '--to' needs --convert."));
    for (const QCommandLineOption* option : {&options.extract, &options.colors, &options.format})
        if (parser.isSet(*option))
            return usageError(QStringLiteral("The option '--%1' cannot be used with --convert.")
                                  .arg(option->names().constFirst()));
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2)
        return usageError(QStringLiteral(
            "The option '--convert' takes two files, the palette to read and the one to write: "
            "--convert IN OUT [--to FORMAT]."));
    Request request;
    request.action = Action::Convert;
    request.convertInput = files.at(0);
    request.convertOutput = files.at(1);
    const QString formats = paletteexchange::ShortNames().join(QStringLiteral(", "));
    std::optional<paletteexchange::Format> format;
    if (parser.isSet(options.to)) {
        format = paletteexchange::FormatNamed(parser.value(options.to));
        if (!format)
            return usageError(QStringLiteral("Unknown palette format '%1'; the formats are: %2.")
                                  .arg(parser.value(options.to), formats));
    } else {
        format = paletteexchange::FormatOfFileName(request.convertOutput);
        if (!format)
            return usageError(QStringLiteral("The extension of '%1' names no palette format; "
                                             "name one with --to: %2.")
                                  .arg(request.convertOutput, formats));
    }
    request.convertFormat = *format;
    return request;
}

int convert(const Request& request, QTextStream& err)
{
    const FileResult converted = paletteexchange::ConvertFile(
        request.convertInput, request.convertOutput, request.convertFormat);
    if (converted)
        return 0;
    err << ProgramName << ": " << converted.message << '\n';
    return ExitFailure;
}

} // namespace

Request Parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    const Options options;
    build(parser, options);
    if (!parser.parse(arguments))
        return usageError(parser.errorText());

    Request request;
    if (parser.isSet(options.help)) {
        request.action = Action::ShowHelp;
        return request;
    }
    if (parser.isSet(options.version)) {
        request.action = Action::ShowVersion;
        return request;
    }
    if (parser.isSet(options.convert) || parser.isSet(options.to))
        return parseConvert(parser, options);
    if (const QStringList positional = parser.positionalArguments(); !positional.isEmpty())
        return usageError(QStringLiteral("Unexpected argument '%1'.").arg(positional.constFirst()));

    const bool extracting = parser.isSet(options.extract);
    for (const QCommandLineOption* option : {&options.colors, &options.format})
        if (parser.isSet(*option) && !extracting)
            return usageError(QStringLiteral("The option '--%1' needs --extract.")
                                  .arg(option->names().constFirst()));
    if (!extracting)
        return request;

    request.action = Action::Extract;
    request.imagePath = parser.value(options.extract);
    request.colors = paletteextraction::DefaultColors;
    if (parser.isSet(options.colors)) {
        bool ok = false;
        request.colors = parser.value(options.colors).toInt(&ok);
        if (!ok || request.colors < paletteextraction::MinColors ||
            request.colors > paletteextraction::MaxColors)
            return usageError(QStringLiteral("The option '--colors' takes a number from %1 to %2, "
                                             "not '%3'.")
                                  .arg(paletteextraction::MinColors)
                                  .arg(paletteextraction::MaxColors)
                                  .arg(parser.value(options.colors)));
    }
    request.format =
        parser.isSet(options.format) ? parser.value(options.format) : QStringLiteral("hex");
    if (!FormatNamed(request.format))
        return usageError(QStringLiteral("Unknown format '%1'; the formats are: %2.")
                              .arg(request.format, FormatNames().join(QStringLiteral(", "))));
    return request;
}

bool NeedsWindows(const Request& request)
{
    return request.action == Action::StartWindow;
}

int Run(const Request& request, QTextStream& out, QTextStream& err)
{
    switch (request.action) {
    case Action::ShowHelp:
        out << helpText();
        return 0;
    case Action::ShowVersion:
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
            << '\n';
        return 0;
    case Action::Extract:
        return extract(request, out, err);
    case Action::Convert:
        return convert(request, err);
    case Action::UsageError:
        err << ProgramName << ": " << request.error << '\n'
            << "Try '" << ProgramName << " --help' for more information.\n";
        return ExitUsage;
    case Action::StartWindow:
        break;
    }
    return ExitUsage;
}

std::optional<ColorFormatter> FormatNamed(const QString& name)
{
    const qsizetype index = FormatNames().indexOf(name);
    if (index < 0)
        return std::nullopt;
    const auto notation = notations::Notation(index);
    // "hex" is the specified #RRGGBB, in the place of the short CSS form,
    // which stays the Color Formats window's own.
    if (notation == notations::Notation::Hex)
        return ColorFormatter(&bascommon::ColorToHtmlHex);
    return ColorFormatter([notation](Color color) { return notations::Format(notation, color); });
}

QStringList FormatNames()
{
    // In the order of the notations, so that a notation's name sits at its
    // own index; "hex" takes the place of the short hex form.
    QStringList names;
    for (const notations::Notation notation : notations::AllNotations) {
        switch (notation) {
        case notations::Notation::Hex:
            names.append(QStringLiteral("hex"));
            break;
        case notations::Notation::RgbSpace:
            names.append(QStringLiteral("rgb"));
            break;
        case notations::Notation::DisplayP3:
            names.append(QStringLiteral("display-p3"));
            break;
        default:
            names.append(notations::ShortName(notation).toLower());
        }
    }
    return names;
}

} // namespace commandline
