#include "models/notations/NamedColors.h"

#include "models/science/ColorScience.h"
#include "models/notations/NamedColorTables.h"

#include <algorithm>
#include <cstring>

namespace namedcolors {

using namespace colorscience;

namespace {

Color FromRgb(std::uint32_t rgb)
{
    return bascommon::MakeColor(int(rgb >> 16), int((rgb >> 8) & 255), int(rgb & 255));
}

struct Entry
{
    const char* name;
    Color color;
    OkLab lab;
};

std::vector<Entry> BuildCss()
{
    std::vector<Entry> entries;
    for (const CssName& name : CssNames) {
        const Color color = FromRgb(name.rgb);
        entries.push_back({name.name, color, ToOkLab(color)});
    }
    return entries;
}

std::vector<Entry> BuildTailwind()
{
    std::vector<Entry> entries;
    for (const TailwindEntry& entry : TailwindPalette) {
        const OkLch lch{entry.lightnessPercent / 100, entry.chroma, entry.hue};
        entries.push_back({entry.name, ToColor(GamutMapToSrgb(lch)), ToOkLab(lch)});
    }
    return entries;
}

const std::vector<Entry>& EntriesOf(Palette palette)
{
    static const std::vector<Entry> css = BuildCss();
    static const std::vector<Entry> tailwind = BuildTailwind();
    return palette == Palette::Css ? css : tailwind;
}

} // namespace

std::optional<Color> CssNamedColor(std::string_view lowerCaseName)
{
    const auto found = std::lower_bound(CssNames.begin(), CssNames.end(), lowerCaseName,
                                        [](const CssName& entry, std::string_view name) {
                                            return std::string_view(entry.name) < name;
                                        });
    if (found == CssNames.end() || std::string_view(found->name) != lowerCaseName)
        return std::nullopt;
    return FromRgb(found->rgb);
}

std::optional<QString> CssNameOf(Color color)
{
    for (const CssName& entry : CssNames)
        if (FromRgb(entry.rgb) == color)
            return QString::fromLatin1(entry.name);
    return std::nullopt;
}

std::vector<Match> Nearest(Color color, Palette palette, int count)
{
    const OkLab target = ToOkLab(color);
    const std::vector<Entry>& entries = EntriesOf(palette);
    std::vector<std::pair<double, const Entry*>> ranked;
    ranked.reserve(entries.size());
    for (const Entry& entry : entries)
        ranked.emplace_back(DeltaEOK(target, entry.lab), &entry);
    const auto wanted = std::min<std::size_t>(std::size_t(std::max(count, 0)), ranked.size());
    // Equal distances keep the table's order, so the answer never wavers.
    std::partial_sort(ranked.begin(), ranked.begin() + std::ptrdiff_t(wanted), ranked.end(),
                      [](const auto& a, const auto& b) {
                          return a.first < b.first || (a.first == b.first && a.second < b.second);
                      });
    std::vector<Match> matches;
    for (std::size_t i = 0; i < wanted; ++i)
        matches.push_back({QString::fromLatin1(ranked[i].second->name), ranked[i].second->color,
                           ranked[i].first});
    return matches;
}

QString MatchText(const Match& match)
{
    return match.name + QStringLiteral(" \u2014 \u0394E ") +
           QString::number(match.deltaEOK * 100, 'f', 1);
}

} // namespace namedcolors
