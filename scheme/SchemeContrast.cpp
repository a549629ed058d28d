#include "scheme/SchemeContrast.h"

#include "models/science/Contrast.h"
#include "scheme/LightnessSearch.h"

#include <QStringList>

namespace schemecontrast {

namespace {

QString span(Color color, const QString& text, bool underlined)
{
    return QStringLiteral("<span style=\"color:%1;%2\">%3</span>")
        .arg(bascommon::ColorToHtmlHex(color),
             underlined ? QStringLiteral("text-decoration:underline;") : QString(),
             text.toHtmlEscaped());
}

bool isLink(SchemeRole role)
{
    return role != SchemeRole::Text && role != SchemeRole::Background;
}

} // namespace

double PairRatio(const SchemeColors& colors, const Pair& pair)
{
    return wcag::ContrastRatio(RoleColor(colors, pair.role), RoleColor(colors, pair.against));
}

bool PairPasses(const SchemeColors& colors, const Pair& pair)
{
    return wcag::Passes(PairRatio(colors, pair), pair.minimum);
}

QString PairName(const Pair& pair)
{
    return RoleName(pair.role) + (pair.against == SchemeRole::Background
                                      ? QStringLiteral(" on the background")
                                      : QStringLiteral(" against the body text"));
}

QString PairListText(const std::vector<int>& pairs)
{
    QStringList names;
    for (int pair : pairs)
        names << QStringLiteral("the ") + PairName(Pairs[std::size_t(pair)]).toLower();
    if (names.size() < 2)
        return names.join(QString());
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

QString SampleHtml(const SchemeColors& colors, const Pair& pair, const QString& note)
{
    const Color color = RoleColor(colors, pair.role);
    const bool link = isLink(pair.role);
    QString html;
    if (pair.against == SchemeRole::Text)
        html = span(colors.text, QStringLiteral("Body text "), false) +
               span(color, QStringLiteral("link"), true);
    else
        html = span(color, link ? QStringLiteral("Link") : QStringLiteral("Text"), link);
    if (!note.isEmpty())
        html += span(color, QLatin1Char(' ') + note, false);
    return html;
}

FixProposal ProposeFix(const SchemeColors& colors, int pair, colorvision::VisionMode mode)
{
    const Pair& fixed = Pairs[std::size_t(pair)];
    const SchemeColors shown = colorvision::Simulate(colors, mode);
    std::vector<lightnesssearch::Requirement> requirements = {
        {RoleColor(colors, fixed.against), fixed.minimum}};
    FixProposal proposal;
    for (int other = 0; other < int(Pairs.size()); ++other) {
        const Pair& candidate = Pairs[std::size_t(other)];
        if (other == pair || (candidate.role != fixed.role && candidate.against != fixed.role))
            continue;
        if (!PairPasses(colors, candidate) || !PairPasses(shown, candidate))
            continue;
        const SchemeRole partner =
            candidate.role == fixed.role ? candidate.against : candidate.role;
        requirements.push_back({RoleColor(colors, partner), candidate.minimum});
        proposal.kept.push_back(other);
    }
    proposal.color =
        lightnesssearch::NearestPassing(RoleColor(colors, fixed.role), requirements, mode);
    return proposal;
}

} // namespace schemecontrast
