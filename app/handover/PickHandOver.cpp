#include "app/handover/PickHandOver.h"

#include "app/DataFolder.h"
#include "app/SettingsFile.h"
#include "app/handover/SecondStart.h"
#include "app/handover/WlCopy.h"
#include "palettes/PaletteIndex.h"
#include "palettes/picker/PickTarget.h"

#include <QCoreApplication>
#include <QTextStream>

namespace pickcommand {

QString NoAnswerText()
{
    return QStringLiteral("The Tintora running on the same data gave no answer to the pick; it "
                          "may be an older version. Close it, or pick from its Tool menu.");
}

int RunHandedOver(const QString& dataFolder, const instancemessage::Request& request, bool print,
                  QTextStream& out, QTextStream& err)
{
    const QString program = QStringLiteral("tintora: ");
    // The index matters only to a pick that saves.
    const paletteindex::Reading reading =
        request.save ? paletteindex::Read(dataFolder) : paletteindex::Reading();
    if (const QString problem = picktarget::Problem(request.save, request.saveTo, reading);
        !problem.isEmpty()) {
        err << program << problem << '\n';
        return 2;
    }
    const std::optional<instancemessage::Reply> reply = secondstart::Ask(dataFolder, request);
    if (!reply) {
        err << program << NoAnswerText() << '\n';
        return 1;
    }
    // The running instance has copied the text, and stays.
    return Finish(*reply, print,
                  request.copy ? clipboardkeeper::KeepForHandedOverPick
                               : std::function<QString(const QString&)>(),
                  out, err);
}

int Finish(const instancemessage::Reply& reply, bool print,
           const std::function<QString(const QString&)>& keep, QTextStream& out, QTextStream& err)
{
    switch (reply.status) {
    case instancemessage::Reply::Status::Done:
        break;
    case instancemessage::Reply::Status::Cancelled:
        return 1;
    case instancemessage::Reply::Status::Failed:
        err << "tintora: " << reply.message << '\n';
        return 1;
    }
    if (print) {
        out << reply.text << '\n';
        out.flush();
    }
    if (keep)
        if (const QString problem = keep(reply.text); !problem.isEmpty())
            err << "tintora: " << problem << '\n';
    return 0;
}

} // namespace pickcommand

namespace programstart {

void SetApplicationNames()
{
    QCoreApplication::setApplicationName(QStringLiteral("Tintora"));
    QCoreApplication::setApplicationVersion(QStringLiteral("3.7"));
    QCoreApplication::setOrganizationName(QStringLiteral("quorvane software"));
}

QStringList ArgumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

QList<UserTemplate> StoredTemplates()
{
    const QVariant value = settingsfile::Value(FormatChoices::SettingKey);
    if (!value.isValid())
        return {};
    return FormatChoices::fromSetting(value.toString()).templates;
}

instancemessage::Request PickRequest(const commandline::Request& request)
{
    instancemessage::Request pick;
    pick.kind = instancemessage::Request::Kind::Pick;
    pick.format = request.format;
    pick.copy = request.copy;
    pick.save = request.save;
    pick.saveTo = request.saveTo;
    return pick;
}

std::optional<int> HandOverPick(int argc, char* argv[])
{
    const commandline::Request request =
        commandline::Parse(ArgumentsOf(argc, argv), StoredTemplates());
    if (request.action != commandline::Action::Pick)
        return std::nullopt;
    // Nothing made here outlives this application object: the windows'
    // start creates its own.
    QCoreApplication handOver(argc, argv);
    SetApplicationNames();
    const QString dataFolder = resolveDataFolder();
    if (!secondstart::InstanceRunning(dataFolder))
        return std::nullopt;
    QTextStream out(stdout);
    QTextStream err(stderr);
    return pickcommand::RunHandedOver(dataFolder, PickRequest(request), request.print, out, err);
}

} // namespace programstart
