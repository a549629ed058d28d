#pragma once

#include "app/FileResult.h"

#include <QString>

#include <cstdint>

// A colour as the program keeps it everywhere: 0x00BBGGRR, red in the low byte.
using Color = std::uint32_t;

// The small colour routines that every window shares. They keep no state.
namespace bascommon {

constexpr Color MakeColor(int red, int green, int blue)
{
    return static_cast<Color>((red & 255) | ((green & 255) << 8) | ((blue & 255) << 16));
}

constexpr int GetRed(Color value)
{
    return static_cast<int>(value & 255u);
}
constexpr int GetGreen(Color value)
{
    return static_cast<int>((value / 256u) & 255u);
}
constexpr int GetBlue(Color value)
{
    return static_cast<int>((value / 65536u) & 255u);
}

constexpr Color White = MakeColor(255, 255, 255);
constexpr Color Black = MakeColor(0, 0, 0);

// Two upper-case hexadecimal digits of one channel.
QString RedHex(Color value);
QString GreenHex(Color value);
QString BlueHex(Color value);

QString ColorToHtmlHex(Color value); // #RRGGBB
QString ColorToBgrHex(Color value);  // BBGGRR
QString ColorToDecList(Color value); // R,G,B

bool IsWebSafe(Color value);
Color RoundToWebSafe(Color value);

// Appends one 6-byte record, built from characters 2-7 of a #RRGGBB text, to the
// palette file `fileName` in `dataFolder`; a missing file is created. The record
// goes right after the last whole record, so a torn tail left by an earlier
// failure is overwritten instead of shifting every later record.
FileResult AppendColorToFile(const QString& dataFolder, const QString& fileName,
                             const QString& colorText);

// The text without its leading and trailing spaces (other white space stays).
QString TrimSpaces(const QString& text);

// The data-folder path, "/", and the file name.
QString DataFilePath(const QString& dataFolder, const QString& fileName);

} // namespace bascommon
