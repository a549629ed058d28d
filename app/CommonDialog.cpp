#include "app/CommonDialog.h"

#include "app/platform/Platform.h"

#include <QWidget>

CommonDialog::CommonDialog(Platform& platform, QWidget* owner)
    : QObject(owner), m_platform(platform), m_owner(owner)
{
}

void CommonDialog::ShowColor()
{
    color = m_platform.chooseColor(m_owner, (Flags & CC_RGBINIT) ? color : bascommon::Black);
}
