#pragma once

#include "app/platform/ScreenCapture.h"

#include <QList>

class DesktopPortal;

// Picking through the desktop portal, for sessions whose screen a client
// cannot read itself (Wayland).
namespace portalcapture {

// The whole desktop through the portal's Screenshot, cut into `screens`
// (Qt's logical geometry and device pixel ratio of each). Without a
// picture the outcome tells why: the user cancelled; the desktop refused,
// has no portal or did not answer; or the portal answers but hands out no
// picture while it offers its colour picker.
ScreenCapture Capture(DesktopPortal& portal, const QList<ScreenCapture::Layout>& screens);

// One colour through the portal's PickColor.
ScreenColorPick PickColor(DesktopPortal& portal);

} // namespace portalcapture
