#pragma once

#include "models/notations/ColorNotations.h"

#include <QList>
#include <QString>

// What the "More Formats" submenus offer: the built-in notations the user
// ticked and the user's own templates. Kept in one setting as JSON.
struct UserTemplate
{
    QString name;
    QString text;
    bool shown = true;

    friend bool operator==(const UserTemplate&, const UserTemplate&) = default;
};

struct FormatChoices
{
    QList<notations::Notation> shownNotations;
    QList<UserTemplate> templates;

    friend bool operator==(const FormatChoices&, const FormatChoices&) = default;

    // The setting's key, and its value before the user changes anything:
    // every built-in notation, no template.
    static const QString SettingKey; // "moreformats"
    static FormatChoices Defaults();

    // Every template is an item of both submenus, built at start: a setting
    // edited by hand (or by a damaged program) must not make start-up take
    // seconds. Far more templates than anyone keeps; and a setting longer
    // than those take at the longest texts their fields allow.
    static constexpr qsizetype MaxTemplates = 100;
    static constexpr qsizetype MaxSettingLength = 8 * 1024 * 1024;

    QString toSetting() const;
    // A missing, damaged or foreign value gives the defaults, and so does one
    // longer than MaxSettingLength; names of notations this version does not
    // know are passed over, and so are templates after the first MaxTemplates.
    static FormatChoices fromSetting(const QString& value);

    bool isShown(notations::Notation notation) const { return shownNotations.contains(notation); }
    // Ticks or unticks a notation, keeping the built-in order.
    void setShown(notations::Notation notation, bool shown);
};
