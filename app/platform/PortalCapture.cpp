#include "app/platform/PortalCapture.h"

#include <QDateTime>
#include <QImage>
#include <QtDebug>

#include "app/platform/DesktopPortal.h"

namespace portalcapture {

namespace {

// PickColor belongs to version 2 of the Screenshot interface.
constexpr uint PickColorVersion = 2;

ScreenCapture pickerOnlyIfOffered(DesktopPortal& portal)
{
    const std::optional<uint> version = portal.screenshotVersion();
    return ScreenCapture::without(version && *version >= PickColorVersion
                                      ? ScreenCapture::Outcome::ColorPickerOnly
                                      : ScreenCapture::Outcome::Refused);
}

} // namespace

ScreenCapture Capture(DesktopPortal& portal, const QList<ScreenCapture::Layout>& screens)
{
    const QDateTime requestedAt = QDateTime::currentDateTimeUtc();
    const DesktopPortal::Reply reply = portal.screenshot(QString());
    switch (reply.status) {
    case DesktopPortal::Status::Answered: {
        const QString uri = reply.results.value(QStringLiteral("uri")).toString();
        const desktopportal::ScreenshotFile file =
            desktopportal::TakeScreenshotFile(uri, requestedAt);
        if (!file.error.isEmpty())
            qWarning("Tintora: the desktop portal's screenshot cannot be read: %s",
                     qPrintable(file.error));
        ScreenCapture capture =
            ScreenCapture::fromDesktopPicture(QImage::fromData(file.data), screens);
        if (!capture.isNull())
            return capture;
        qWarning("Tintora: the desktop portal's screenshot is no picture of the whole desktop");
        return pickerOnlyIfOffered(portal);
    }
    case DesktopPortal::Status::Cancelled:
        return ScreenCapture::without(ScreenCapture::Outcome::Cancelled);
    case DesktopPortal::Status::Unsupported:
        qWarning("Tintora: the desktop portal takes no screenshots: %s", qPrintable(reply.detail));
        return pickerOnlyIfOffered(portal);
    case DesktopPortal::Status::Failed:
    case DesktopPortal::Status::NoAnswer:
    case DesktopPortal::Status::NoPortal:
        break;
    }
    qWarning("Tintora: no screenshot from the desktop portal: %s", qPrintable(reply.detail));
    return ScreenCapture::without(ScreenCapture::Outcome::Refused);
}

ScreenColorPick PickColor(DesktopPortal& portal)
{
    const DesktopPortal::Reply reply = portal.pickColor(QString());
    switch (reply.status) {
    case DesktopPortal::Status::Answered:
        if (const std::optional<Color> color = desktopportal::PickedColor(reply.results))
            return {ScreenColorPick::Outcome::Picked, *color};
        qWarning("Tintora: the desktop portal's color picker answered without a color");
        return {};
    case DesktopPortal::Status::Cancelled:
        return {ScreenColorPick::Outcome::Cancelled, bascommon::Black};
    default:
        qWarning("Tintora: no color from the desktop portal: %s", qPrintable(reply.detail));
        return {};
    }
}

} // namespace portalcapture
