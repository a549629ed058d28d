#include "scheme/ColorVision.h"

#include "models/science/Contrast.h"
#include "models/science/ColorScience.h"

namespace colorvision {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// Machado, Oliveira and Fernandes, "A Physiologically-based Model for
// Simulation of Color Vision Deficiency", IEEE TVCG 15(6), 2009: the matrices
// of their published table for severity 1.0. They act on linear RGB.
constexpr Matrix ProtanopiaMatrix = {{{0.152286, 1.052583, -0.204868},
                                      {0.114503, 0.786281, 0.099216},
                                      {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix DeuteranopiaMatrix = {{{0.367322, 0.860646, -0.227968},
                                        {0.280085, 0.672501, 0.047413},
                                        {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix TritanopiaMatrix = {{{1.255528, -0.076749, -0.178779},
                                      {-0.078411, 0.930809, 0.147602},
                                      {0.004733, 0.691367, 0.303900}}};

Color applyMatrix(const Matrix& matrix, Color color)
{
    const double linear[3] = {colorscience::ChannelToLinear(bascommon::GetRed(color)),
                              colorscience::ChannelToLinear(bascommon::GetGreen(color)),
                              colorscience::ChannelToLinear(bascommon::GetBlue(color))};
    int channels[3] = {};
    for (std::size_t row = 0; row < 3; ++row) {
        const double value =
            matrix[row][0] * linear[0] + matrix[row][1] * linear[1] + matrix[row][2] * linear[2];
        channels[row] = colorscience::LinearToChannel(value);
    }
    return bascommon::MakeColor(channels[0], channels[1], channels[2]);
}

Color grayOf(Color color)
{
    const int level = colorscience::LinearToChannel(wcag::RelativeLuminance(color));
    return bascommon::MakeColor(level, level, level);
}

} // namespace

QString VisionModeName(VisionMode mode)
{
    switch (mode) {
    case VisionMode::Normal:
        return QStringLiteral("Normal");
    case VisionMode::Protanopia:
        return QStringLiteral("Protanopia");
    case VisionMode::Deuteranopia:
        return QStringLiteral("Deuteranopia");
    case VisionMode::Tritanopia:
        return QStringLiteral("Tritanopia");
    case VisionMode::Grayscale:
        return QStringLiteral("Grayscale");
    }
    return QString();
}

Color Simulate(Color color, VisionMode mode)
{
    switch (mode) {
    case VisionMode::Normal:
        return color;
    case VisionMode::Protanopia:
        return applyMatrix(ProtanopiaMatrix, color);
    case VisionMode::Deuteranopia:
        return applyMatrix(DeuteranopiaMatrix, color);
    case VisionMode::Tritanopia:
        return applyMatrix(TritanopiaMatrix, color);
    case VisionMode::Grayscale:
        return grayOf(color);
    }
    return color;
}

SchemeColors Simulate(const SchemeColors& colors, VisionMode mode)
{
    return {Simulate(colors.text, mode),       Simulate(colors.background, mode),
            Simulate(colors.normalLink, mode), Simulate(colors.visitedLink, mode),
            Simulate(colors.activeLink, mode), Simulate(colors.hoverLink, mode)};
}

} // namespace colorvision
