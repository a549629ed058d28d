#pragma once

#include "app/CommandLine.h"
#include "app/InstanceMessage.h"
#include "models/notations/FormatChoices.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QTextStream;

// The start of `tintora --pick` while Tintora runs on the same data: the
// request is handed to that instance, which picks, and the command prints
// and ends. All of it needs Qt Core alone, so that the executable loads the
// windows (Qt Gui, Qt Widgets and the rest of the program) only when it
// shows some itself.
namespace pickcommand {

// Why the command ends without a colour when the instance gave no answer.
QString NoAnswerText();

// The command once an instance is known to run on `dataFolder`: hands it the
// pick, prints the text when `print` asks, and keeps the text on a Wayland
// clipboard. No display is needed. Returns the exit code as pickcommand::Run
// does.
int RunHandedOver(const QString& dataFolder, const instancemessage::Request& request, bool print,
                  QTextStream& out, QTextStream& err);

// How the command ends once it has the reply, whoever picked: the exit code
// (0 picked, 1 cancelled or failed with the message told), the text printed
// when `print` asks, and handed to `keep` when given, which returns why it
// could not keep the text on the clipboard.
int Finish(const instancemessage::Reply& reply, bool print,
           const std::function<QString(const QString&)>& keep, QTextStream& out, QTextStream& err);

} // namespace pickcommand

namespace programstart {

void SetApplicationNames();
QStringList ArgumentsOf(int argc, char* argv[]);
// The user's own notations, which --format names besides the built-in ones.
QList<UserTemplate> StoredTemplates();
// What a parsed `--pick` asks of whoever picks.
instancemessage::Request PickRequest(const commandline::Request& request);

// The first step of every start: when the command line is a valid `--pick`
// and an instance runs on the same data, hands the pick over and returns
// the exit code. Otherwise returns nothing and leaves no application object
// behind, and the windows start.
std::optional<int> HandOverPick(int argc, char* argv[]);

} // namespace programstart
