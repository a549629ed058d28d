#pragma once

#include <array>
#include <cstdint>

// A second, deliberately plain implementation of the colour models, written
// straight from the formulas and built without optimisation in a target of
// its own. The exhaustive comparison holds the real class to it, so that no
// compiler, build type or target flag can quietly change a number the user
// sees.
//
// Each function either gives its result or reports, through `overflow`, that
// the result does not fit its integer type.
namespace colormodelreference {

struct Reading
{
    int value = 0;
    bool overflow = false;
};

struct Rgb
{
    int red = 0;
    int green = 0;
    int blue = 0;
    bool overflow = false;
};

enum class Member {
    CmyC,
    CmyM,
    CmyY,
    CmykK,
    CmykC,
    CmykM,
    CmykY,
    HlsH,
    HlsL,
    HlsS,
    YcbcrY,
    YcbcrCb,
    YcbcrCr,
};

Reading Read(Member member, int red, int green, int blue);

Rgb FromCmy(int c, int m, int y);
Rgb FromCmyk(int c, int m, int y, int k);
Rgb FromHls(int h, int l, int s);
Rgb FromYcbcr(int y, int cb, int cr);

} // namespace colormodelreference
