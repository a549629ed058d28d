#include "palettes/NewPalette.h"

#include "app/DataFileAccess.h"
#include "app/SafeRewrite.h"
#include "app/TextBounds.h"
#include "palettes/PaletteIndex.h"
#include "palettes/PaletteNames.h"
#include "palettes/PaletteRecords.h"

#include <QSet>

#include <algorithm>

namespace newpalette {

QString UniqueName(const StringTable& listedNames, const QString& name)
{
    QSet<QString> taken;
    for (qsizetype i = 0; i < listedNames.size(); ++i)
        taken.insert(listedNames.at(i));
    if (!taken.contains(name))
        return name;
    for (qsizetype number = 2;; ++number) {
        const QString suffix = QStringLiteral(" (%1)").arg(number);
        // The index keeps names of a bounded length: the number must survive.
        QString candidate = name.left(textbounds::MaxNameLength - suffix.size());
        if (!candidate.isEmpty() && candidate.back().isHighSurrogate())
            candidate.chop(1);
        candidate += suffix;
        if (!taken.contains(candidate))
            return candidate;
    }
}

QByteArray RecordsShownInOrder(const QList<Color>& shownColors)
{
    QList<Color> records(shownColors.crbegin(), shownColors.crend());
    return paletterecords::RecordsOf(records);
}

FileResult Add(const QString& dataFolder, const QString& file, const QString& name,
               const QList<Color>& shownColors, const QStringList& shownNames, bool* listed)
{
    if (listed)
        *listed = false;
    const QString target = bascommon::DataFilePath(dataFolder, file);
    const QString aside = target + QStringLiteral(".tmp");
    const QByteArray records = RecordsShownInOrder(shownColors);
    QStringList recordNames;
    if (!shownNames.isEmpty()) {
        recordNames = shownNames.mid(0, shownColors.size());
        while (recordNames.size() < shownColors.size())
            recordNames.append(QString());
        std::reverse(recordNames.begin(), recordNames.end());
    }
    const PaletteNames names = PaletteNames::fromList(records, recordNames);

    if (FileResult written = writeSyncedFile(aside, records); !written)
        return written;
    // Names left by a palette that had this file once would pair with any
    // of the new colours that matches them.
    const auto giveUp = [&aside](const FileResult& why) {
        static_cast<void>(datafiles::RemoveFile(aside, QStringLiteral("remove")));
        return why;
    };
    if (FileResult cleared = PaletteNames::remove(dataFolder, file); !cleared)
        return giveUp(cleared);
    if (FileResult added = paletteindex::AppendEntry(dataFolder, file, name, QStringLiteral("1"));
        !added)
        return giveUp(added);
    if (FileResult placed = renameOver(aside, target); !placed) {
        const paletteindex::Reading reading = paletteindex::Read(dataFolder);
        if (!reading.entries.isEmpty() && reading.entries.constLast().file == file)
            static_cast<void>(
                paletteindex::DeleteEntry(dataFolder, reading.entries.constLast().position));
        return placed;
    }
    if (listed)
        *listed = true;
    return PaletteNames::write(dataFolder, file, names);
}

} // namespace newpalette
