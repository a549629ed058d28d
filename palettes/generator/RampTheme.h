#pragma once

#include "app/FileResult.h"
#include "palettes/generator/ColorGenerator.h"

#include <QByteArray>
#include <QString>

// A design-system ramp as the theme variables of Tailwind CSS v4, which
// generate the utilities bg-NAME-500, text-NAME-50 and so on:
//
//   /* Brand: 11 steps around #3366CC at 500 */
//   @theme {
//     --color-brand-50: #F3F6FD;
//     ...
//     --color-brand-950: #0B1731;
//   }
//
// The block itself is the palette exchange's Tailwind writer, so a ramp's
// theme reads back as the other style sheets the program writes do.
namespace ramptheme {

// The name part of the variables: "Brand Blue" gives "brand-blue"; a name
// with no letter or digit gives "color".
QString ThemeName(const QString& name);

QByteArray TailwindTheme(const QString& name, const colorgenerator::Ramp& ramp);

// The theme to `path`, a complete file or none; the message names the file.
FileResult ExportFile(const QString& path, const QByteArray& content);

} // namespace ramptheme
