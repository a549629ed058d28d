#include "palettes/picker/PickOnce.h"

#include "app/SecondStart.h"
#include "app/platform/ClipboardKeeper.h"
#include "app/platform/Platform.h"
#include "models/FormatNames.h"
#include "palettes/picker/frmGetColor.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QTextStream>
#include <QTimer>

QString PickOnce::paletteNamed(const paletteindex::Reading& reading, const QString& name)
{
    StringTable files;
    StringTable names;
    paletteindex::ColorTargets(reading.entries, files, names);
    const qsizetype at = names.indexOf(name);
    return at < 0 ? QString() : files.at(at);
}

QString PickOnce::problemWith(const Options& options, const paletteindex::Reading& reading)
{
    if (!options.save)
        return {};
    if (options.saveTo.isEmpty()) {
        StringTable files;
        StringTable names;
        paletteindex::ColorTargets(reading.entries, files, names);
        if (!files.isEmpty())
            return {};
        // Told before the picture rather than after the pick, which would be
        // lost: the window could not have saved it either.
        QString problem = QStringLiteral("No palette takes colors, so a picked color cannot be "
                                         "saved (the command picks without saving with "
                                         "--no-save).");
        if (!reading.problems.isEmpty())
            problem += QLatin1Char(' ') + reading.problems;
        return problem;
    }
    if (!paletteNamed(reading, options.saveTo).isEmpty())
        return {};
    return QStringLiteral("No palette named \"%1\" takes colors; choose one that Pick&Save Color "
                          "offers in \"Save To:\", or --no-save.")
        .arg(options.saveTo);
}

PickOnce::PickOnce(Platform& platform, const QString& dataFolder, PaletteIndexReader readIndex,
                   Options options, QWidget* owner, QObject* parent)
    : QObject(parent), m_platform(platform), m_dataFolder(dataFolder),
      m_readIndex(std::move(readIndex)), m_options(std::move(options)), m_owner(owner)
{
}

void PickOnce::start()
{
    if (m_started)
        return;
    m_started = true;
    const paletteindex::Reading reading = m_readIndex();
    if (const QString problem = problemWith(m_options, reading); !problem.isEmpty()) {
        // Whoever started this hears of it as of any other end: afterwards.
        QTimer::singleShot(
            0, this, [this, problem] { emit finished(instancemessage::Reply::failed(problem)); });
        return;
    }
    // The picker deletes itself when picking ends.
    auto* picker = new frmGetColor(m_platform, m_dataFolder, m_readIndex, m_owner);
    picker->pickOnce(m_options.save, paletteNamed(reading, m_options.saveTo));
    // A pick from outside waits on the picture alone; at a cold start the
    // Pick&Save window's text would first load the fonts.
    picker->pickWindowAfterPicture();
    connect(picker, &frmGetColor::colorPicked, this, [this](Color color) {
        m_picked = color;
        emit colorPicked(color);
    });
    connect(picker, &frmGetColor::pickingFinished, this, &PickOnce::pickingFinished);
    picker->Form_Load();
}

void PickOnce::pickingFinished()
{
    instancemessage::Reply reply;
    if (!m_picked) {
        reply.status = instancemessage::Reply::Status::Cancelled;
    } else {
        reply.text = formatnames::Format(m_options.format, *m_picked, m_options.templates)
                         .value_or(bascommon::ColorToHtmlHex(*m_picked));
    }
    emit finished(reply);
}

namespace {

QString pickCommandNoAnswerText()
{
    return QStringLiteral("The Tintora running on the same data gave no answer to the pick; it "
                          "may be an older version. Close it, or pick from its Tool menu.");
}

} // namespace

namespace pickcommand {

int RunHandedOver(const QString& dataFolder, const instancemessage::Request& request, bool print,
                  QTextStream& out, QTextStream& err)
{
    const QString program = QStringLiteral("tintora: ");
    PickOnce::Options options;
    options.save = request.save;
    options.saveTo = request.saveTo;
    if (const QString problem = PickOnce::problemWith(options, paletteindex::Read(dataFolder));
        !problem.isEmpty()) {
        err << program << problem << '\n';
        return 2;
    }
    const std::optional<instancemessage::Reply> reply = secondstart::Ask(dataFolder, request);
    if (!reply) {
        err << program << pickCommandNoAnswerText() << '\n';
        return 1;
    }
    switch (reply->status) {
    case instancemessage::Reply::Status::Done:
        break;
    case instancemessage::Reply::Status::Cancelled:
        return 1;
    case instancemessage::Reply::Status::Failed:
        err << program << reply->message << '\n';
        return 1;
    }
    if (print) {
        out << reply->text << '\n';
        out.flush();
    }
    // The running instance has copied the text, and stays.
    if (request.copy)
        if (const QString problem = clipboardkeeper::KeepForHandedOverPick(reply->text);
            !problem.isEmpty())
            err << program << problem << '\n';
    return 0;
}

int Run(Platform& platform, const QString& dataFolder, const instancemessage::Request& request,
        bool print, const QList<UserTemplate>& templates, QTextStream& out, QTextStream& err)
{
    const QString program = QStringLiteral("tintora: ");
    PickOnce::Options options;
    options.format = request.format;
    options.save = request.save;
    options.saveTo = request.saveTo;
    options.templates = templates;
    if (const QString problem = PickOnce::problemWith(options, paletteindex::Read(dataFolder));
        !problem.isEmpty()) {
        err << program << problem << '\n';
        return 2;
    }

    instancemessage::Reply reply;
    bool keep = false;
    const Platform::HandOver handOver = platform.handToRunningInstance(request);
    if (handOver.anotherInstance) {
        if (!handOver.reply) {
            err << program << pickCommandNoAnswerText() << '\n';
            return 1;
        }
        // The running instance owns the clipboard now, and stays. Not so on
        // Wayland: a compositor gives the selection only to a client with the
        // keyboard focus, which the instance need not have once its picture
        // has gone; the text is kept from here, as after a pick of our own.
        reply = *handOver.reply;
        keep = request.copy && QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    } else {
        // A message of the picker is the last window for a moment; its
        // closing must not end the pick.
        QGuiApplication::setQuitOnLastWindowClosed(false);
        reply.status = instancemessage::Reply::Status::Cancelled;
        PickOnce picker(
            platform, dataFolder, [dataFolder] { return paletteindex::Read(dataFolder); }, options);
        QEventLoop loop;
        QObject::connect(&picker, &PickOnce::finished, &loop,
                         [&reply, &loop](const instancemessage::Reply& answer) {
                             reply = answer;
                             loop.quit();
                         });
        picker.start();
        loop.exec();
        keep = request.copy;
    }

    switch (reply.status) {
    case instancemessage::Reply::Status::Done:
        break;
    case instancemessage::Reply::Status::Cancelled:
        return 1;
    case instancemessage::Reply::Status::Failed:
        err << program << reply.message << '\n';
        return 1;
    }
    if (print) {
        out << reply.text << '\n';
        out.flush();
    }
    if (keep) {
        if (const QString problem = clipboardkeeper::KeepAfterExit(reply.text); !problem.isEmpty())
            err << program << problem << '\n';
    }
    return 0;
}

} // namespace pickcommand
