#pragma once

#include "app/InstanceMessage.h"
#include "palettes/picker/frmpick.h"

#include <QObject>
#include <QString>

#include <functional>

class Platform;

// A pick that the running program makes for someone outside its windows: a
// later start (`tintora --pick` handed over) or the desktop's shortcut. Its
// windows leave the screen while the picture is taken and come back exactly as
// they were; the colour is copied when the request asks, since this program
// stays and with it what it puts on the clipboard.
class RequestedPick : public QObject
{
    Q_OBJECT
public:
    using Answer = std::function<void(const instancemessage::Reply&)>;

    RequestedPick(Platform& platform, const QString& dataFolder, PaletteIndexReader readIndex,
                  QObject* parent = nullptr);

    // Answers once: with the colour's text, Cancelled, or Failed with a reason
    // (a pick already under way, a dialog waiting for an answer, a palette
    // that does not take colours).
    void run(const instancemessage::Request& request, Answer answer);
    // A frozen screen is up, this one's or the Tool menu's.
    bool pickUnderWay() const;

signals:
    // Saved where the request says, before the windows come back.
    void colorPicked(Color color);
    // The windows are back; the pick has ended, whichever way.
    void windowsRestored();

private:
    Platform& m_platform;
    QString m_dataFolder;
    PaletteIndexReader m_readIndex;
    bool m_picking = false;
};
