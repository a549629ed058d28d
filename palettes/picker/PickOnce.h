#pragma once

#include "app/InstanceMessage.h"
#include "app/bascommon.h"
#include "models/notations/FormatChoices.h"
#include "palettes/picker/frmpick.h"

#include <QObject>
#include <QPointer>
#include <QString>

class Platform;
class QTextStream;
class QWidget;

// One colour from the frozen screen for a start that asks from outside the
// program's windows (`tintora --pick`, the desktop's shortcut): the picker
// without its continuous mode, the colour saved as the Pick&Save window
// would save it, and its text in the notation asked for. Used alike by the
// command that picks itself and by the running instance it hands over to.
class PickOnce : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        // A name of formatnames; "hex" is #RRGGBB.
        QString format = QStringLiteral("hex");
        bool save = true;
        // A palette by its shown name; empty for the one offered first.
        QString saveTo;
        QList<UserTemplate> templates;
    };

    // `owner` as for frmGetColor.
    PickOnce(Platform& platform, const QString& dataFolder, PaletteIndexReader readIndex,
             Options options, QWidget* owner = nullptr, QObject* parent = nullptr);

    // Shows the frozen screen; `finished` follows once, by a pick, Escape, a
    // failure or a problem with the options.
    void start();

signals:
    // Saved where the options say, before `finished`.
    void colorPicked(Color color);
    // Done with the colour's text, Cancelled, or Failed with a message.
    void finished(const instancemessage::Reply& reply);

private:
    void pickingFinished();

    Platform& m_platform;
    QString m_dataFolder;
    PaletteIndexReader m_readIndex;
    Options m_options;
    QPointer<QWidget> m_owner;
    std::optional<Color> m_picked;
    bool m_started = false;
};

// `tintora --pick` as a command: hands the pick to the instance running on
// the same data (one that started since the launch looked; see
// pickcommand::RunHandedOver), or picks itself without the main window; then prints the
// text when `print` asks and keeps it on the clipboard after the command has
// ended (unless the request says not to copy). Needs a QApplication. Returns
// the exit code: 0 picked, 1 cancelled or failed, 2 a --save-to name that no
// palette has, or no palette at all to save to (told before any window opens).
namespace pickcommand {

int Run(Platform& platform, const QString& dataFolder, const instancemessage::Request& request,
        bool print, const QList<UserTemplate>& templates, QTextStream& out, QTextStream& err);

} // namespace pickcommand
