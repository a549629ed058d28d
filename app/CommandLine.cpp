#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QDir>

#include "models/FormatNames.h"
#include "palettes/image/PaletteExtraction.h"

namespace commandline {

namespace {

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
        QStringLiteral("With --extract or --pick: how each color is written (default hex, "
                       "#RRGGBB); --list-formats lists the names."),
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

    QCommandLineOption listFormats{
        QStringLiteral("list-formats"),
        QStringLiteral("Lists the names that --format takes, with an example each, and exits.")};
    QCommandLineOption pick{
        QStringLiteral("pick"),
        QStringLiteral("Freezes the screen to pick one color with a click (or the arrow keys and "
                       "Enter), copies it and saves it to the first palette the picker offers; "
                       "Escape cancels and exits 1. A running Tintora on the same data does the "
                       "picking.")};
    QCommandLineOption print{QStringLiteral("print"),
                             QStringLiteral("With --pick: also writes the picked color's text "
                                            "and a newline to standard output.")};
    QCommandLineOption noCopy{QStringLiteral("no-copy"),
                              QStringLiteral("With --pick: leaves the clipboard alone.")};
    QCommandLineOption saveTo{QStringLiteral("save-to"),
                              QStringLiteral("With --pick: saves the color to the palette of "
                                             "this shown name instead."),
                              QStringLiteral("palette")};
    QCommandLineOption noSave{QStringLiteral("no-save"),
                              QStringLiteral("With --pick: saves the color to no palette.")};

    void addTo(QCommandLineParser& parser) const
    {
        parser.addOptions({help, version, extract, colors, format, listFormats, pick, print, noCopy,
                           saveTo, noSave, convert, to});
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
        QStringLiteral("Colour tool for web designers. Without options it opens its window; "
                       "palette files given as arguments are imported, one new palette each."));
    parser.addPositionalArgument(
        QStringLiteral("files"),
        QStringLiteral("Palette files to import (as File > Import Palette...)."),
        QStringLiteral("[FILE...]"));
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

// --convert IN OUT [--to FORMAT], alone.
Request parseConvert(const QCommandLineParser& parser, const Options& options)
{
    if (!parser.isSet(options.convert))
        return usageError(QStringLiteral("The option '--to' needs --convert."));
    for (const QCommandLineOption* option :
         {&options.extract, &options.colors, &options.format, &options.listFormats, &options.pick,
          &options.print, &options.noCopy, &options.saveTo, &options.noSave})
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

QString unknownFormat(const QString& name)
{
    return QStringLiteral("Unknown format '%1'; 'tintora --list-formats' lists the names.")
        .arg(name);
}

} // namespace

Request Parse(const QStringList& arguments, const QList<UserTemplate>& templates)
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

    const bool extracting = parser.isSet(options.extract);
    const bool picking = parser.isSet(options.pick);
    const bool listing = parser.isSet(options.listFormats);
    if (int(extracting) + int(picking) + int(listing) > 1)
        return usageError(
            QStringLiteral("The options --extract, --pick and --list-formats exclude each other."));
    const QStringList positional = parser.positionalArguments();
    if (!positional.isEmpty() && (extracting || picking || listing))
        return usageError(QStringLiteral("Unexpected argument '%1'.").arg(positional.constFirst()));
    for (const QCommandLineOption* option : {&options.colors})
        if (parser.isSet(*option) && !extracting)
            return usageError(QStringLiteral("The option '--%1' needs --extract.")
                                  .arg(option->names().constFirst()));
    if (parser.isSet(options.format) && !extracting && !picking)
        return usageError(QStringLiteral("The option '--format' needs --extract or --pick."));
    for (const QCommandLineOption* option :
         {&options.print, &options.noCopy, &options.saveTo, &options.noSave})
        if (parser.isSet(*option) && !picking)
            return usageError(QStringLiteral("The option '--%1' needs --pick.")
                                  .arg(option->names().constFirst()));

    if (listing) {
        request.action = Action::ListFormats;
        return request;
    }
    request.format =
        parser.isSet(options.format) ? parser.value(options.format) : QStringLiteral("hex");
    if ((extracting || picking) && !formatnames::Format(request.format, 0, templates))
        return usageError(unknownFormat(request.format));

    if (picking) {
        if (parser.isSet(options.saveTo) && parser.isSet(options.noSave))
            return usageError(QStringLiteral("The options --save-to and --no-save exclude each "
                                             "other."));
        request.action = Action::Pick;
        request.print = parser.isSet(options.print);
        request.copy = !parser.isSet(options.noCopy);
        request.save = !parser.isSet(options.noSave);
        request.saveTo = parser.value(options.saveTo);
        if (parser.isSet(options.saveTo) && request.saveTo.isEmpty())
            return usageError(QStringLiteral("The option '--save-to' needs a palette's name."));
        return request;
    }
    if (!extracting) {
        request.format.clear();
        if (positional.isEmpty())
            return request;
        // The running instance that may import them has its own working folder.
        request.action = Action::Open;
        for (const QString& file : positional)
            request.files.append(QDir::cleanPath(QDir::current().absoluteFilePath(file)));
        return request;
    }

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
    return request;
}

bool NeedsWindows(const Request& request)
{
    return request.action == Action::StartWindow || request.action == Action::Pick ||
           request.action == Action::Open;
}

QString HelpText()
{
    QCommandLineParser parser;
    const Options options;
    build(parser, options);
    return parser.helpText();
}

} // namespace commandline
