#include "palettes/ShippedPalettes.h"

#include "app/DataFolder.h"
#include "app/SafeRewrite.h"
#include "app/TextEncoding.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace shippedpalettes {

namespace {

QString recordPath(const QString& dataFolder)
{
    return QDir(dataFolder).filePath(RecordFileName());
}

QStringList readRecord(const QString& dataFolder, bool& exists)
{
    QFile file(recordPath(dataFolder));
    exists = file.open(QIODevice::ReadOnly);
    QStringList names;
    if (!exists)
        return names;
    for (const QByteArray& line : paletteindex::SplitLines(file.readAll())) {
        if (!paletteindex::IsBlankLine(line))
            names.append(textencoding::DecodeLine(line));
    }
    return names;
}

FileResult writeRecord(const QString& dataFolder, const QStringList& names)
{
    QByteArray content;
    for (const QString& name : names)
        content += textencoding::EncodeLine(name) + '\n';
    return replaceFileContents(recordPath(dataFolder),
                               recordPath(dataFolder) + QStringLiteral(".tmp"), content);
}

FileResult record(const QString& dataFolder, const QList<paletteindex::Entry>& palettes)
{
    bool exists = false;
    QStringList names = readRecord(dataFolder, exists);
    for (const paletteindex::Entry& palette : palettes) {
        if (!names.contains(palette.file))
            names.append(palette.file);
    }
    return writeRecord(dataFolder, names);
}

} // namespace

QString RecordFileName()
{
    return QStringLiteral("shipped.lst");
}

Check NewPalettes(const QString& shippedFolder, const QString& dataFolder)
{
    Check check;
    const QList<paletteindex::Entry> shipped = paletteindex::Read(shippedFolder).entries;
    bool exists = false;
    const QStringList given = readRecord(dataFolder, exists);
    if (!exists) {
        check.result = record(dataFolder, shipped);
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
    const QDir data(dataFolder);
    QStringList taken = data.entryList(QDir::Files);
    for (const paletteindex::Entry& entry : paletteindex::Read(dataFolder).entries)
        taken.append(entry.file);
    for (const paletteindex::Entry& palette : palettes) {
        const QString file =
            taken.contains(palette.file) ? paletteindex::NextFileName(taken) : palette.file;
        if (FileResult copied =
                copyIfMissing(QDir(shippedFolder).filePath(palette.file), data.filePath(file));
            !copied)
            return copied;
        taken.append(file);
        if (FileResult added =
                paletteindex::AppendEntry(dataFolder, file, palette.name, palette.kind);
            !added)
            return added;
        // Recorded one by one: a palette added before a failure is not offered again.
        if (FileResult recorded = record(dataFolder, {palette}); !recorded)
            return recorded;
    }
    return FileResult::success();
}

FileResult Decline(const QString& dataFolder, const QList<paletteindex::Entry>& palettes)
{
    return record(dataFolder, palettes);
}

} // namespace shippedpalettes
