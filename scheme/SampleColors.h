#pragma once

#include "app/bascommon.h"

class QWidget;

// Paints a sample of scheme colours: `fore` on `back`. A label paints with
// Window and WindowText, a read-only text box with Base and Text in some
// styles and Window in others; all of them carry the colours.
void PaintSample(QWidget* sample, Color back, Color fore);
