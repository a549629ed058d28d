#include "models/notations/FormatChoices.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

const QString FormatChoices::SettingKey = QStringLiteral("moreformats");

FormatChoices FormatChoices::Defaults()
{
    FormatChoices choices;
    for (const notations::Notation notation : notations::AllNotations)
        choices.shownNotations << notation;
    return choices;
}

QString FormatChoices::toSetting() const
{
    QJsonArray shown;
    for (const notations::Notation notation : shownNotations)
        shown.append(notations::ShortName(notation));
    QJsonArray own;
    for (const UserTemplate& entry : templates)
        own.append(QJsonObject{{QStringLiteral("name"), entry.name},
                               {QStringLiteral("template"), entry.text},
                               {QStringLiteral("shown"), entry.shown}});
    const QJsonObject root{{QStringLiteral("notations"), shown},
                           {QStringLiteral("templates"), own}};
    return QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Compact));
}

FormatChoices FormatChoices::fromSetting(const QString& value)
{
    if (value.size() > MaxSettingLength)
        return Defaults();
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(value.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return Defaults();
    const QJsonObject root = document.object();
    if (!root.value(QStringLiteral("notations")).isArray())
        return Defaults();
    FormatChoices choices;
    for (const QJsonValue name : root.value(QStringLiteral("notations")).toArray())
        if (const auto notation = notations::FromShortName(name.toString()))
            choices.setShown(*notation, true);
    for (const QJsonValue entry : root.value(QStringLiteral("templates")).toArray()) {
        if (choices.templates.size() == MaxTemplates)
            break;
        const QJsonObject object = entry.toObject();
        if (!object.value(QStringLiteral("template")).isString())
            continue;
        choices.templates << UserTemplate{object.value(QStringLiteral("name")).toString(),
                                          object.value(QStringLiteral("template")).toString(),
                                          object.value(QStringLiteral("shown")).toBool(true)};
    }
    return choices;
}

void FormatChoices::setShown(notations::Notation notation, bool shown)
{
    shownNotations.removeAll(notation);
    if (!shown)
        return;
    qsizetype place = 0;
    while (place < shownNotations.size() && int(shownNotations[place]) < int(notation))
        ++place;
    shownNotations.insert(place, notation);
}
