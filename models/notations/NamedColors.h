#pragma once

#include "app/bascommon.h"

#include <QString>

#include <optional>
#include <string_view>
#include <vector>

// Colours known by name: the 148 named colours of CSS and the default
// palette of Tailwind CSS v4, and the ones nearest to a given colour.
namespace namedcolors {

// The colour of a CSS name, given in lower case ("steelblue").
std::optional<Color> CssNamedColor(std::string_view lowerCaseName);

// The CSS name of a colour that has one ("grey" and "gray" both name
// #808080; the first in alphabetical order is given).
std::optional<QString> CssNameOf(Color color);

enum class Palette { Css, Tailwind };

struct Match
{
    QString name;    // "steelblue", "sky-600"
    Color color = 0; // the 8-bit colour that stands for it (Tailwind's lie partly outside sRGB)
    double deltaEOK = 0;
};

// The `count` entries of `palette` nearest to `color` in OKLab, nearest
// first. A Tailwind colour is measured as its own OKLCH value defines it.
std::vector<Match> Nearest(Color color, Palette palette, int count);

// "steelblue — ΔE 2.1": the difference in hundredths of ΔEOK, one decimal.
QString MatchText(const Match& match);

} // namespace namedcolors
