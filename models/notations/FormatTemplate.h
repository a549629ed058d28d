#pragma once

#include "app/bascommon.h"

#include <QString>
#include <QStringList>

#include <vector>

// The user's own colour formats: a text with placeholders that name a channel
// of a model, such as "rgb({r}, {g}, {b})" or "oklch({oklch.l} {oklch.c}
// {oklch.h})". A placeholder may end in a precision: {oklch.h:1} writes one
// decimal, always; {r:x} and {r:X} write two hexadecimal digits. Without
// one, a channel writes as many decimals as its CSS notation needs for every
// colour to read back exactly, trailing zeros left out. "{{" and "}}" write
// a brace.
//
// Channels: r, g, b (0 to 255) and hex (six digits); srgb.r/g/b and
// p3.r/g/b (0 to 1); hsl.h/s/l, hwb.h/w/b and hsv.h/s/v (hue in degrees,
// the others in per cent); lab.l/a/b and lch.l/c/h; oklab.l/a/b and
// oklch.l/c/h (lightness 0 to 1); and this program's own models as the
// conversion window shows them: cmy.c/m/y, cmyk.c/m/y/k, hls.h/l/s,
// ycbcr.y/cb/cr.
namespace formattemplate {

class Template
{
public:
    QString expand(Color color) const;

private:
    friend struct Compiler;
    struct Part
    {
        QString literal; // written as it is when channel < 0
        int channel = -1;
        int decimals = -1; // -1: the channel's own precision, trailing zeros left out
        int hex = 0;       // 1 lower-case, 2 upper-case hexadecimal
    };
    std::vector<Part> m_parts;
};

struct Compiled
{
    bool ok = false;
    Template result;
    QString message; // why the text is no template
};

Compiled Compile(QStringView text);

// Every placeholder name, in the order of the list above.
QStringList PlaceholderNames();

} // namespace formattemplate
