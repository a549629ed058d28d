#pragma once

#include "palettes/exchange/ExchangePalette.h"
#include "palettes/exchange/JsonTree.h"

#include <QByteArray>
#include <QByteArrayView>

// Sketch palettes (.sketchpalette), as the Sketch Palettes plugin saves them:
// one JSON object (UTF-8) with
//   "compatibleVersion"  the oldest plugin version that reads the file, a
//                        string such as "2.0"
//   "pluginVersion"      the version that wrote it
//   "colors"             the colours in order
//   "gradients", "images"  other fills, not colours
// From compatibleVersion "1.4" on, a colour is an object {"red", "green",
// "blue", "alpha"}, each a number from 0 to 1; before it (or without a
// compatibleVersion), a colour is a CSS hex string such as "#FF8800".
// The format gives the palette no name.
namespace sketchpalette {

// The colours in order with the "name" of the object form, alpha ignored; a channel rounded to the
// nearest of 255 steps, ties to even. Text that is not JSON, a missing "colors" list, or a colour
// that is neither form or lies outside 0 to 1 makes the file unreadable, with the line and column
// of the fault.
ExchangeReading Read(QByteArrayView content);

// compatibleVersion "2.0": every colour an object of opaque channels, with its
// own name or the one that exchangenames makes under "name" (which newer plugin versions show
// and older ones pass over). Every colour reads back exactly.
QByteArray Write(const ExchangePalette& palette);

// True for a JSON root that has the keys of a Sketch palette: "colors" and
// "compatibleVersion" or "pluginVersion".
bool IsSketchPalette(const jsontree::Value& root);

// Read() for content already parsed.
ExchangeReading FromJson(QByteArrayView content, const jsontree::Document& document);

} // namespace sketchpalette
