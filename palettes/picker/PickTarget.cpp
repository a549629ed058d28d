#include "palettes/picker/PickTarget.h"

#include "app/StringTable.h"

namespace picktarget {

QString PaletteNamed(const paletteindex::Reading& reading, const QString& name)
{
    StringTable files;
    StringTable names;
    paletteindex::ColorTargets(reading.entries, files, names);
    const qsizetype at = names.indexOf(name);
    return at < 0 ? QString() : files.at(at);
}

QString Problem(bool save, const QString& saveTo, const paletteindex::Reading& reading)
{
    if (!save)
        return {};
    if (saveTo.isEmpty()) {
        StringTable files;
        StringTable names;
        paletteindex::ColorTargets(reading.entries, files, names);
        if (!files.isEmpty())
            return {};
        // Told before the picture rather than after the pick, which would be
        // lost: the window could not have saved it either.
        QString problem = QStringLiteral("No palette takes colors, so a picked color cannot be "
                                         "saved (the command picks without saving with "
                                         "--no-save).");
        if (!reading.problems.isEmpty())
            problem += QLatin1Char(' ') + reading.problems;
        return problem;
    }
    if (!PaletteNamed(reading, saveTo).isEmpty())
        return {};
    return QStringLiteral("No palette named \"%1\" takes colors; choose one that Pick&Save Color "
                          "offers in \"Save To:\", or --no-save.")
        .arg(saveTo);
}

} // namespace picktarget
