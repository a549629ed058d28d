#pragma once

#include "app/bascommon.h"

#include <QObject>

class Platform;
class QWidget;

// The main window's colour dialog: prepared with flags and a colour, shown
// modally, then read back. Cancelling leaves the colour as it was prepared.
class CommonDialog : public QObject
{
    Q_OBJECT
public:
    static constexpr int CC_RGBINIT = 1;  // start from the given colour
    static constexpr int CC_FULLOPEN = 2; // custom-colour part open

    CommonDialog(Platform& platform, QWidget* owner);

    int Flags = 0;
    Color color = bascommon::Black;

    void ShowColor();

private:
    Platform& m_platform;
    QWidget* m_owner;
};
