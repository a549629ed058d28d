#include "palettes/exchange/OfficePalette.h"

#include "palettes/exchange/ExchangeNames.h"
#include "palettes/exchange/ExchangeText.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace officepalette {

namespace {

const QString OfficeNs1 = QStringLiteral("http://openoffice.org/2000/office");
const QString OfficeNs2 = QStringLiteral("http://openoffice.org/2004/office");
const QString DrawNs1 = QStringLiteral("http://openoffice.org/2000/drawing");
const QString DrawNsOdf = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0");

bool isDrawNamespace(QStringView ns)
{
    return ns == DrawNs1 || ns == DrawNsOdf;
}

QString where(const QXmlStreamReader& xml)
{
    // Qt counts columns from 0; editors, and Where() for the other formats, from 1.
    return QStringLiteral("line %1, column %2").arg(xml.lineNumber()).arg(xml.columnNumber() + 1);
}

// XML holds no control characters but tab, LF and CR (which an attribute
// turns into spaces anyway), no U+FFFE or U+FFFF and no lone surrogate.
QString xmlName(const QString& name)
{
    QString valid = exchangenames::ReadName(name);
    for (QChar& c : valid)
        if (c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
            c = QChar::ReplacementCharacter;
    return valid;
}

} // namespace

bool IsOfficePalette(QByteArrayView content)
{
    QXmlStreamReader xml(content.toByteArray());
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement)
            return xml.name() == QLatin1String("color-table");
    return false;
}

ExchangeReading Read(QByteArrayView content)
{
    QXmlStreamReader xml(content.toByteArray());
    ExchangeReading reading;
    int depth = 0;
    bool sawRoot = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::DTD)
            return ExchangeReading::failure(
                QStringLiteral("at %1 it declares a document type, which a palette never has")
                    .arg(where(xml)));
        if (token == QXmlStreamReader::EndElement) {
            --depth;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        ++depth;
        if (depth == 1) {
            sawRoot = true;
            const bool office = xml.namespaceUri() == OfficeNs1 || xml.namespaceUri() == OfficeNs2;
            if (xml.name() != QLatin1String("color-table") || !office)
                return ExchangeReading::failure(
                    QStringLiteral("at %1 its root element is <%2>, not the color-table of a "
                                   "LibreOffice palette")
                        .arg(where(xml), exchangetext::Shown(xml.qualifiedName().toString())));
            continue;
        }
        if (depth != 2 || xml.name() != QLatin1String("color") ||
            !isDrawNamespace(xml.namespaceUri()))
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        QString value;
        QString name;
        bool hasValue = false;
        for (const QXmlStreamAttribute& attribute : attributes) {
            if (!isDrawNamespace(attribute.namespaceUri()))
                continue;
            if (attribute.name() == QLatin1String("color")) {
                value = attribute.value().toString();
                hasValue = true;
            } else if (attribute.name() == QLatin1String("name")) {
                name = exchangenames::ReadName(attribute.value());
            }
        }
        if (!hasValue)
            return ExchangeReading::failure(
                QStringLiteral("at %1 a colour has no draw:color value").arg(where(xml)));
        const std::optional<Color> color =
            exchangetext::HexColor(value, exchangetext::HexForms::SixDigits);
        if (!color)
            return ExchangeReading::failure(
                QStringLiteral("at %1 the colour value \"%2\" is not # and six hexadecimal "
                               "digits")
                    .arg(where(xml), exchangetext::Shown(value)));
        if (reading.palette.colors.size() == paletteexchange::MaxColors)
            return ExchangeReading::failure(paletteexchange::TooManyColors());
        reading.palette.colors.append(*color);
        reading.palette.names.append(name);
    }
    if (xml.hasError())
        return ExchangeReading::failure(QStringLiteral("at %1 it is not well-formed XML: %2")
                                            .arg(where(xml), xml.errorString()));
    if (!sawRoot)
        return ExchangeReading::failure(QStringLiteral("it holds no XML element"));
    exchangenames::SettleNames(reading.palette);
    return reading;
}

QByteArray Write(const ExchangePalette& palette)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeNamespace(QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0"),
                       QStringLiteral("office"));
    xml.writeNamespace(DrawNsOdf, QStringLiteral("draw"));
    xml.writeNamespace(QStringLiteral("http://www.w3.org/1999/xlink"), QStringLiteral("xlink"));
    xml.writeNamespace(QStringLiteral("http://www.w3.org/2000/svg"), QStringLiteral("svg"));
    xml.writeNamespace(OfficeNs2, QStringLiteral("ooo"));
    xml.writeStartElement(OfficeNs2, QStringLiteral("color-table"));
    const QStringList names =
        exchangenames::NamesToWrite(palette, &xmlName, exchangenames::Keys::AsGiven);
    for (qsizetype i = 0; i < palette.colors.size(); ++i) {
        xml.writeEmptyElement(DrawNsOdf, QStringLiteral("color"));
        xml.writeAttribute(DrawNsOdf, QStringLiteral("name"), names.at(i));
        xml.writeAttribute(DrawNsOdf, QStringLiteral("color"),
                           bascommon::ColorToHtmlHex(palette.colors.at(i)).toLower());
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

} // namespace officepalette
