#pragma once

#include "app/bascommon.h"
#include "models/notations/FormatChoices.h"

#include <QList>
#include <QString>

#include <optional>

// The notations a command names on the command line (`--format oklch`): short,
// lower-case names for every notation of the Color Formats window, the eleven
// copy items of the Edit menu, and the user's own templates by their names.
// "hex" is the web notation #RRGGBB as the Edit menu copies it.
namespace formatnames {

struct Entry
{
    QString name;
    // What the Color Formats window or the Edit menu calls it; a template's
    // own text for a template.
    QString label;
    bool isTemplate = false;
};

// Every name, built-in ones first (hex, the CSS notations, the code forms,
// the copy items), then the templates that do not share a built-in name and
// compile.
QList<Entry> Catalog(const QList<UserTemplate>& templates);

// The colour's text in the named notation; nothing for a name the catalog
// does not hold. Built-in names are matched in any case, templates by their
// exact name first and then in any case.
std::optional<QString> Format(const QString& name, Color color,
                              const QList<UserTemplate>& templates);

} // namespace formatnames
