#pragma once

#include "app/bascommon.h"
#include "palettes/exchange/PaletteExchange.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QTextStream;

// The program's command line, read before any window object exists: what
// can be answered without a display (help, version, a palette from an image
// file, a palette file converted) is answered on a QCoreApplication, and only a plain start opens
// the window system.
namespace commandline {

enum class Action {
    StartWindow, // no arguments: the program starts as always
    ShowHelp,
    ShowVersion,
    Extract,
    Convert,    // a palette file to another format
    UsageError, // an unknown option or a bad value: exit code 2
};

// Exit codes besides 0.
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

struct Request
{
    Action action = Action::StartWindow;
    // UsageError: what was wrong, naming the option.
    QString error;
    // Extract.
    QString imagePath;
    int colors = 0;
    QString format;
    // Convert.
    QString convertInput;
    QString convertOutput;
    paletteexchange::Format convertFormat = paletteexchange::Format::Gimp;
};

// `arguments` as main() receives them, the program first.
Request Parse(const QStringList& arguments);

// Whether the request needs the window system (a QApplication).
bool NeedsWindows(const Request& request);

// Carries out a request that needs no windows; a QCoreApplication must exist.
// Returns the exit code.
int Run(const Request& request, QTextStream& out, QTextStream& err);

// A colour text by the short name that --format takes: "hex" is #RRGGBB,
// the other names are the Color Formats window's notations in lower case
// ("rgb", "oklch", "display-p3", "swiftui", ...). Nothing for an unknown name.
using ColorFormatter = std::function<QString(Color)>;
std::optional<ColorFormatter> FormatNamed(const QString& name);
// Every name FormatNamed knows, "hex" first.
QStringList FormatNames();

} // namespace commandline
