#pragma once

#include "app/bascommon.h"
#include "palettes/exchange/PaletteExchange.h"
#include "models/notations/FormatChoices.h"

#include <QList>
#include <QString>
#include <QStringList>

class QTextStream;

// The program's command line, read before any window object exists: what
// can be answered without a display (help, version, a palette from an image
// file, a palette file converted) is answered on a QCoreApplication, and only a plain start opens
// the window system. A pick and the opening of palette files need the window system; the request
// says what they ask for.
namespace commandline {

enum class Action {
    StartWindow, // no arguments: the program starts as always
    ShowHelp,
    ShowVersion,
    Extract,
    Convert, // a palette file to another format
    ListFormats,
    // --pick: one colour from the screen.
    Pick,
    // File arguments: the program starts and imports them.
    Open,
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
    // Extract and Pick: the notation's name (formatnames).
    QString format;
    // Convert.
    QString convertInput;
    QString convertOutput;
    paletteexchange::Format convertFormat = paletteexchange::Format::Gimp;
    // Pick.
    bool print = false;
    bool copy = true;
    bool save = true;
    // A palette by its shown name; empty for the one the picker offers first.
    QString saveTo;
    // Open: absolute paths, in the order given.
    QStringList files;
};

// `arguments` as main() receives them, the program first. `templates` are the
// user's own notations, which --format may name besides the built-in ones.
Request Parse(const QStringList& arguments, const QList<UserTemplate>& templates = {});

// Whether the request needs the window system (a QApplication).
bool NeedsWindows(const Request& request);

// Carries out a request that needs no windows; a QCoreApplication must exist.
// Returns the exit code.
int Run(const Request& request, QTextStream& out, QTextStream& err,
        const QList<UserTemplate>& templates = {});

// The help text that --help prints.
QString HelpText();

} // namespace commandline
