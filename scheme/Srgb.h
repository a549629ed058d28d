#pragma once

// The sRGB transfer curve, as WCAG 2.2 writes it: a channel of 0 to 255 and
// its linear-light value of 0 to 1.
namespace srgb {

// Linear below 0.04045 (WCAG 2.2's corrected threshold), a 2.4 power above.
double ToLinear(int channel);

// The inverse: clamps to 0..1, encodes and rounds to the nearest channel
// value, ties to even.
int FromLinear(double linear);

} // namespace srgb
