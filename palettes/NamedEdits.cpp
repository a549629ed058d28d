#include "palettes/NamedEdits.h"

#include "app/DataFolderAccess.h"
#include "app/bascommon.h"
#include "palettes/PaletteFileAccess.h"
#include "palettes/PaletteNames.h"
#include "palettes/PaletteRecords.h"

namespace namededits {

namespace {

enum class NamesEdit { DeleteRecord, ClearDuplicates, ClearAll };

// Runs `edit` on the palette, its names replaced by what `change` makes of
// them first; when the edit changes nothing (it failed or was stopped), the
// names are put back.
template <typename Edit>
FileResult withNames(const QString& dataFolder, const QString& file, NamesEdit change,
                     qint32 record, Edit&& edit)
{
    // Even a names file none of whose lines pairs goes, so that its lines
    // cannot pair with colours added later.
    if (DataFolderAccess(dataFolder).status(PaletteNames::fileFor(file)).kind ==
        DataFolderAccess::Kind::Missing)
        return edit();
    PaletteNames before;
    if (FileResult read = PaletteNames::read(dataFolder, file, before); !read)
        return read;
    PaletteNames after;
    if (change != NamesEdit::ClearAll) {
        QByteArray records;
        if (FileResult read = palettefiles::ReadWholeFile(
                bascommon::DataFilePath(dataFolder, file), QStringLiteral("read the colors of"),
                palettefiles::WhenMissing::ReadAsEmpty, records);
            !read)
            return read;
        after = before;
        if (change == NamesEdit::DeleteRecord)
            after.recordDeleted(record, records);
        else
            after.duplicatesCleared(records);
    }
    if (FileResult written = PaletteNames::write(dataFolder, file, after); !written)
        return written;
    const FileResult edited = edit();
    if (!edited)
        static_cast<void>(PaletteNames::write(dataFolder, file, before));
    return edited;
}

} // namespace

FileResult DeleteColor(const QString& dataFolder, const QString& file, qint32 record,
                       const Progress& progress)
{
    return withNames(dataFolder, file, NamesEdit::DeleteRecord, record, [&] {
        return paletterecords::DeleteRecord(bascommon::DataFilePath(dataFolder, file), record,
                                            progress);
    });
}

FileResult ClearDuplicates(const QString& dataFolder, const QString& file, const Progress& progress)
{
    return withNames(dataFolder, file, NamesEdit::ClearDuplicates, 0, [&] {
        return paletterecords::ClearDuplicates(bascommon::DataFilePath(dataFolder, file), nullptr,
                                               progress);
    });
}

FileResult ClearAll(const QString& dataFolder, const QString& file)
{
    return withNames(dataFolder, file, NamesEdit::ClearAll, 0, [&] {
        return paletterecords::ClearAll(bascommon::DataFilePath(dataFolder, file));
    });
}

FileResult NameColor(const QString& dataFolder, const QString& file, qint32 record,
                     const QString& name, PaletteNames& names)
{
    QByteArray records;
    const QString path = bascommon::DataFilePath(dataFolder, file);
    if (FileResult read =
            palettefiles::ReadWholeFile(path, QStringLiteral("read the colors of"),
                                        palettefiles::WhenMissing::ReadAsEmpty, records);
        !read)
        return read;
    if (!names.rename(record, name, records))
        return FileResult::failure(
            describeFileError(QStringLiteral("name the color in"), path,
                              QStringLiteral("the palette no longer holds that color")));
    return PaletteNames::write(dataFolder, file, names);
}

} // namespace namededits
