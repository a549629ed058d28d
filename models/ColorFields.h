#pragma once

#include "app/bascommon.h"

#include <QString>

// The current colour as the main window shows it when a colour window opens:
// the colour itself, the text of its #RRGGBB field and the texts of its
// decimal red, green and blue fields. The decimal fields may hold an edit
// not yet applied, or something that is no channel value at all.
struct ColorFields
{
    Color color = bascommon::White;
    QString hex;
    QString red;
    QString green;
    QString blue;
};
