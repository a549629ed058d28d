#pragma once

#include "app/bascommon.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QDateTime>
#include <QString>
#include <QVariantMap>

#include <chrono>
#include <optional>

// The desktop's screenshot portal (org.freedesktop.portal.Screenshot on
// org.freedesktop.portal.Desktop), the one way a Wayland client may read the
// screen. Each request is answered later by a Response signal on a request
// object of its own; the calls wait for it in a local event loop that takes
// no user input.
class DesktopPortal
{
public:
    enum class Status {
        // Response 0: the results hold the answer.
        Answered,
        // Response 1: the user dismissed the portal's own dialog.
        Cancelled,
        // Response 2 (or any other): the desktop refused or failed.
        Failed,
        // Neither the call nor its response came back in time.
        NoAnswer,
        // Nothing on the bus answers for the portal.
        NoPortal,
        // The portal is there but rejects the method itself.
        Unsupported,
    };
    struct Reply
    {
        Status status = Status::NoPortal;
        QVariantMap results;
        // The bus's own words when a call failed, for diagnostics.
        QString detail;
    };

    static constexpr std::chrono::milliseconds DefaultPatience{10000};

    explicit DesktopPortal(const QDBusConnection& bus,
                           std::chrono::milliseconds patience = DefaultPatience);

    // The whole desktop, without asking the user to choose (interactive
    // false); results["uri"] names the picture.
    Reply screenshot(const QString& parentWindow);
    // The desktop's own colour picker; results["color"] holds three doubles.
    Reply pickColor(const QString& parentWindow);
    // The version of the Screenshot interface; nothing when the portal does
    // not offer the interface. PickColor came with version 2.
    std::optional<uint> screenshotVersion();

private:
    Reply request(const QString& method, const QString& parentWindow, QVariantMap options);

    QDBusConnection m_bus;
    std::chrono::milliseconds m_patience;
};

namespace desktopportal {

// The request object a call with `token` will answer on, as the portal
// documentation derives it from the caller's unique bus name.
QString RequestPath(const QString& uniqueName, const QString& token);

struct ScreenshotFile
{
    // The file's bytes; empty when it could not be read.
    QByteArray data;
    QString error;
    bool removed = false;
};

// Reads the picture a Screenshot answer names and then removes it, but only
// where it is plainly the portal's file for this request: a local, regular
// file (no link) last written at or after `requestedAt`. Anything older, or
// reached through a link, is left alone.
ScreenshotFile TakeScreenshotFile(const QString& uri, const QDateTime& requestedAt);

// The colour of a PickColor answer: three doubles from 0 to 1, each rounded
// to the nearest byte (ties to even) and kept within 0 to 255. Nothing when
// the answer holds no colour.
std::optional<Color> PickedColor(const QVariantMap& results);

} // namespace desktopportal
