#pragma once

#include "scheme/ColorVision.h"
#include "models/science/Contrast.h"
#include "scheme/SchemeColors.h"
#include "scheme/SchemeRole.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

// The pairs of scheme colours whose contrast a page depends on: the body text
// and each link colour on the background, and each link colour against the
// body text (for links that only their colour tells apart).
namespace schemecontrast {

struct Pair
{
    SchemeRole role;    // the colour that a fix changes
    SchemeRole against; // the colour it is read on or next to
    double minimum;     // the ratio the pair fails below
};

constexpr int OnBackgroundCount = 5;
constexpr int AgainstTextCount = 4;
constexpr std::array<Pair, OnBackgroundCount + AgainstTextCount> Pairs = {{
    {SchemeRole::Text, SchemeRole::Background, wcag::AANormal},
    {SchemeRole::NormalLink, SchemeRole::Background, wcag::AANormal},
    {SchemeRole::VisitedLink, SchemeRole::Background, wcag::AANormal},
    {SchemeRole::ActiveLink, SchemeRole::Background, wcag::AANormal},
    {SchemeRole::HoverLink, SchemeRole::Background, wcag::AANormal},
    {SchemeRole::NormalLink, SchemeRole::Text, wcag::LinkAgainstText},
    {SchemeRole::VisitedLink, SchemeRole::Text, wcag::LinkAgainstText},
    {SchemeRole::ActiveLink, SchemeRole::Text, wcag::LinkAgainstText},
    {SchemeRole::HoverLink, SchemeRole::Text, wcag::LinkAgainstText},
}};

double PairRatio(const SchemeColors& colors, const Pair& pair);
bool PairPasses(const SchemeColors& colors, const Pair& pair);

// "Text on the background", "Normal link against the body text".
QString PairName(const Pair& pair);

// "the text on the background, the normal link against the body text and
// ...": pairs (indices of Pairs) named in running text.
QString PairListText(const std::vector<int>& pairs);

// Rich text for a sample of the pair in its colours, to be shown on the
// page background: the role's colour alone for a pair on the background, body
// text followed by an underlined link for a link against the text. `note`
// (plain text) follows the sample in the role's colour.
QString SampleHtml(const SchemeColors& colors, const Pair& pair, const QString& note = QString());

// A new colour for the role of a failing pair (an index of Pairs): the role's
// colour moved in lightness until the pair reaches its minimum, both as the
// colours are and as `mode` shows them. Every other pair that shares the
// colour and passes now is kept passing; `kept` lists them.
struct FixProposal
{
    std::optional<Color> color;
    std::vector<int> kept;
};
FixProposal ProposeFix(const SchemeColors& colors, int pair, colorvision::VisionMode mode);

} // namespace schemecontrast
