#include "palettes/ShippedPalettes.h"

#include "app/DataFolder.h"
#include "app/DataFolderAccess.h"
#include "app/TextEncoding.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace shippedpalettes {

namespace {

QStringList readRecord(const DataFolderAccess& folder, bool& exists)
{
    QStringList names;
    QFile file;
    exists = bool(folder.open(file, RecordFileName(), DataFolderAccess::Access::Read,
                              QStringLiteral("read")));
    if (!exists)
        return names;
    for (const QByteArray& line : paletteindex::SplitLines(file.readAll())) {
        if (!paletteindex::IsBlankLine(line))
            names.append(textencoding::DecodeLine(line));
    }
    return names;
}

FileResult writeRecord(const DataFolderAccess& folder, const QStringList& names)
{
    QByteArray content;
    for (const QString& name : names)
        content += textencoding::EncodeLine(name) + '\n';
    return folder.replace(RecordFileName(), RecordFileName() + QStringLiteral(".tmp"), content,
                          QStringLiteral("replace"));
}

FileResult record(const DataFolderAccess& folder, const QList<paletteindex::Entry>& palettes)
{
    bool exists = false;
    QStringList names = readRecord(folder, exists);
    for (const paletteindex::Entry& palette : palettes) {
        if (!names.contains(palette.file))
            names.append(palette.file);
    }
    return writeRecord(folder, names);
}

} // namespace

QString RecordFileName()
{
    return QStringLiteral("shipped.lst");
}

Check NewPalettes(const QString& shippedFolder, const QString& dataFolder)
{
    Check check;
    QList<paletteindex::Entry> shipped;
    for (const paletteindex::Entry& palette : paletteindex::Read(shippedFolder).entries)
        shipped.append(palette);
    const DataFolderAccess folder(dataFolder);
    bool exists = false;
    const QStringList given = readRecord(folder, exists);
    if (!exists) {
        check.result = record(folder, shipped);
        return check;
    }
    for (const paletteindex::Entry& palette : shipped) {
        if (!given.contains(palette.file))
            check.fresh.append(palette);
    }
    return check;
}

FileResult Add(const QString& shippedFolder, const QString& dataFolder,
               const QList<paletteindex::Entry>& palettes)
{
    const DataFolderAccess folder(dataFolder);
    if (!folder.opened())
        return folder.opened();
    // Every name in the folder counts as taken, links that lead nowhere too.
    QStringList taken;
    for (const DataFolderAccess::Listed& present : folder.list())
        taken.append(present.name);
    for (const paletteindex::Entry& entry : paletteindex::Read(dataFolder).entries)
        taken.append(entry.file);
    for (const paletteindex::Entry& palette : palettes) {
        QString file =
            taken.contains(palette.file) ? paletteindex::NextFileName(taken) : palette.file;
        const QString source = QDir(shippedFolder).filePath(palette.file);
        // A name that appeared meanwhile is passed over, never written through.
        for (bool inUse = true; inUse;) {
            if (FileResult copied = copyIfMissing(folder, source, file, &inUse); !copied)
                return copied;
            taken.append(file);
            if (inUse)
                file = paletteindex::NextFileName(taken);
        }
        if (FileResult added =
                paletteindex::AppendEntry(dataFolder, file, palette.name, palette.kind);
            !added)
            return added;
        // Recorded one by one: a palette added before a failure is not offered again.
        if (FileResult recorded = record(folder, {palette}); !recorded)
            return recorded;
    }
    return FileResult::success();
}

FileResult Decline(const QString& dataFolder, const QList<paletteindex::Entry>& palettes)
{
    return record(DataFolderAccess(dataFolder), palettes);
}

} // namespace shippedpalettes
