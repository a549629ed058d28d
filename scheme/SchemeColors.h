#pragma once

#include "app/bascommon.h"

// The six colours of a web page that the scheme editor works on.
struct SchemeColors
{
    Color text = bascommon::Black;
    Color background = bascommon::White;
    Color normalLink = bascommon::Black;
    Color visitedLink = bascommon::Black;
    Color activeLink = bascommon::Black;
    Color hoverLink = bascommon::Black;

    friend bool operator==(const SchemeColors&, const SchemeColors&) = default;
};
