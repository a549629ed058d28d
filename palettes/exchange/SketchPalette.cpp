#include "palettes/exchange/SketchPalette.h"

#include "palettes/exchange/ExchangeNames.h"
#include "palettes/exchange/ExchangeText.h"
#include "palettes/exchange/JsonTree.h"
#include "palettes/exchange/JsonWriting.h"

#include <cmath>

namespace sketchpalette {

namespace {

using jsontree::Value;

QString problemAt(QByteArrayView content, const Value& value, const QString& what)
{
    return QStringLiteral("at %1 %2").arg(exchangetext::Where(content, value.offset()), what);
}

} // namespace

bool IsSketchPalette(const Value& root)
{
    return root.isObject() && root.member(u"colors").isValid() &&
           (root.member(u"compatibleVersion").isValid() || root.member(u"pluginVersion").isValid());
}

ExchangeReading Read(QByteArrayView content)
{
    return FromJson(content, jsontree::Parse(content));
}

ExchangeReading FromJson(QByteArrayView content, const jsontree::Document& document)
{
    if (const QString problem =
            jsontree::ObjectProblem(content, document, QStringLiteral("a Sketch palette"));
        !problem.isEmpty())
        return ExchangeReading::failure(problem);
    const Value root = document.root();
    const Value colors = root.member(u"colors");
    if (!colors.isArray())
        return ExchangeReading::failure(
            colors.isValid()
                ? problemAt(content, colors, QStringLiteral("\"colors\" is not a list"))
                : QStringLiteral("it is not a Sketch palette: it has no \"colors\""));

    ExchangeReading reading;
    const QList<Value> entries = colors.children();
    if (entries.size() > paletteexchange::MaxColors)
        return ExchangeReading::failure(paletteexchange::TooManyColors());
    reading.palette.colors.reserve(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const Value entry = entries.at(i);
        const QString which = QStringLiteral("colour %1").arg(i + 1);
        if (entry.isString()) {
            const std::optional<Color> color =
                exchangetext::HexColor(entry.string().trimmed(), exchangetext::HexForms::Css);
            if (!color)
                return ExchangeReading::failure(
                    problemAt(content, entry,
                              QStringLiteral("%1, \"%2\", is not a hex colour such as #FF8800")
                                  .arg(which, exchangetext::Shown(entry.string()))));
            reading.palette.colors.append(*color);
            reading.palette.names.append(QString());
            continue;
        }
        if (!entry.isObject())
            return ExchangeReading::failure(problemAt(
                content, entry,
                QStringLiteral("%1 is neither a hex string nor an object of red, green and blue")
                    .arg(which)));
        int channels[3] = {};
        const char16_t* keys[3] = {u"red", u"green", u"blue"};
        for (int c = 0; c < 3; ++c) {
            const Value value = entry.member(keys[c]);
            if (!value.isNumber())
                return ExchangeReading::failure(
                    problemAt(content, value.isValid() ? value : entry,
                              QStringLiteral("%1 has no number for %2")
                                  .arg(which, QString::fromUtf16(keys[c]))));
            const double v = value.number();
            if (v < 0.0 || v > 1.0)
                return ExchangeReading::failure(
                    problemAt(content, value,
                              QStringLiteral("%1 has %2 %3, outside 0 to 1")
                                  .arg(which, QString::fromUtf16(keys[c]))
                                  .arg(v)));
            channels[c] = static_cast<int>(std::nearbyint(v * 255.0));
        }
        reading.palette.colors.append(bascommon::MakeColor(channels[0], channels[1], channels[2]));
        const Value name = entry.member(u"name");
        reading.palette.names.append(name.isString() ? exchangenames::ReadName(name.string())
                                                     : QString());
    }
    exchangenames::SettleNames(reading.palette);
    return reading;
}

QByteArray Write(const ExchangePalette& palette)
{
    const QStringList names = exchangenames::NamesToWrite(
        palette, [](const QString& name) { return exchangenames::ReadName(name); },
        exchangenames::Keys::AsGiven);
    jsonwriting::Writer json;
    json.beginObject();
    json.key("compatibleVersion").string(QStringLiteral("2.0"));
    json.key("pluginVersion").string(QStringLiteral("2.0"));
    json.key("colors").beginArray();
    for (qsizetype i = 0; i < palette.colors.size(); ++i) {
        const Color color = palette.colors.at(i);
        json.beginObject(jsonwriting::Writer::Layout::OneLine);
        json.key("name").string(names.at(i));
        json.key("red").number(bascommon::GetRed(color) / 255.0);
        json.key("green").number(bascommon::GetGreen(color) / 255.0);
        json.key("blue").number(bascommon::GetBlue(color) / 255.0);
        json.key("alpha").number(1);
        json.endObject();
    }
    json.endArray();
    json.key("gradients").beginArray().endArray();
    json.key("images").beginArray().endArray();
    json.endObject();
    return json.text();
}

} // namespace sketchpalette
