#include "palettes/picker/PickOnce.h"

#include "app/handover/PickHandOver.h"
#include "app/platform/ClipboardKeeper.h"
#include "app/platform/Platform.h"
#include "models/FormatNames.h"
#include "palettes/picker/PickTarget.h"
#include "palettes/picker/frmGetColor.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QTextStream>
#include <QTimer>

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
    if (const QString problem = picktarget::Problem(m_options.save, m_options.saveTo, reading);
        !problem.isEmpty()) {
        // Whoever started this hears of it as of any other end: afterwards.
        QTimer::singleShot(
            0, this, [this, problem] { emit finished(instancemessage::Reply::failed(problem)); });
        return;
    }
    // The picker deletes itself when picking ends. Its Pick&Save window lists
    // the palettes of this same reading: a pick is one moment, and an index of
    // a million palettes takes a second or more to read.
    auto* picker = new frmGetColor(
        m_platform, m_dataFolder, [reading] { return reading; }, m_owner);
    picker->pickOnce(m_options.save, picktarget::PaletteNamed(reading, m_options.saveTo));
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

namespace pickcommand {

int Run(Platform& platform, const QString& dataFolder, const instancemessage::Request& request,
        bool print, const QList<UserTemplate>& templates, QTextStream& out, QTextStream& err)
{
    const QString program = QStringLiteral("tintora: ");
    PickOnce::Options options;
    options.format = request.format;
    options.save = request.save;
    options.saveTo = request.saveTo;
    options.templates = templates;
    // Read once for the whole command: the pick below lists the same palettes.
    const paletteindex::Reading reading = paletteindex::Read(dataFolder);
    if (const QString problem = picktarget::Problem(options.save, options.saveTo, reading);
        !problem.isEmpty()) {
        err << program << problem << '\n';
        return 2;
    }

    instancemessage::Reply reply;
    bool keep = false;
    const Platform::HandOver handOver = platform.handToRunningInstance(request);
    if (handOver.anotherInstance) {
        if (!handOver.reply) {
            err << program << NoAnswerText() << '\n';
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
            platform, dataFolder, [&reading] { return reading; }, options);
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

    return Finish(reply, print,
                  keep ? [](const QString& text) { return clipboardkeeper::KeepAfterExit(text); }
                       : std::function<QString(const QString&)>(),
                  out, err);
}

} // namespace pickcommand
