#include "app/CommandLine.h"

#include "models/FormatNames.h"
#include "palettes/image/ImageSource.h"
#include "palettes/image/PaletteExtraction.h"

#include <QCoreApplication>
#include <QTextStream>

#include <algorithm>

// What the command line does without windows, apart from its reading: the
// palette of an image needs Qt Gui's image readers, which a start that only
// hands a pick over never loads.
namespace commandline {

namespace {

const QString ProgramName = QStringLiteral("tintora");

int extract(const Request& request, QTextStream& out, QTextStream& err,
            const QList<UserTemplate>& templates)
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
    for (const paletteextraction::PaletteColor& color : palette.colors)
        out << formatnames::Format(request.format, color.color, templates).value_or(QString())
            << ' ' << paletteextraction::ShareText(color.share) << '\n';
    return 0;
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

// The example colour of --list-formats: one whose every channel differs, so
// that each notation shows where it puts red, green and blue.
constexpr Color ListExample = bascommon::MakeColor(0x3A, 0x6E, 0xA5);

int listFormats(QTextStream& out, const QList<UserTemplate>& templates)
{
    const QList<formatnames::Entry> entries = formatnames::Catalog(templates);
    qsizetype width = 0;
    for (const formatnames::Entry& entry : entries)
        width = std::max(width, entry.name.size());
    for (const formatnames::Entry& entry : entries)
        out << entry.name.leftJustified(width + 2)
            << formatnames::Format(entry.name, ListExample, templates).value_or(QString()) << '\n';
    return 0;
}

} // namespace

int Run(const Request& request, QTextStream& out, QTextStream& err,
        const QList<UserTemplate>& templates)
{
    switch (request.action) {
    case Action::ShowHelp:
        out << HelpText();
        return 0;
    case Action::ShowVersion:
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
            << '\n';
        return 0;
    case Action::Extract:
        return extract(request, out, err, templates);
    case Action::Convert:
        return convert(request, err);
    case Action::ListFormats:
        return listFormats(out, templates);
    case Action::UsageError:
        err << ProgramName << ": " << request.error << '\n'
            << "Try '" << ProgramName << " --help' for more information.\n";
        return ExitUsage;
    case Action::StartWindow:
    case Action::Pick:
    case Action::Open:
        break;
    }
    return ExitUsage;
}

} // namespace commandline
