#include "scheme/SchemeStore.h"

#include "app/DataFileAccess.h"
#include "app/DataFolderAccess.h"
#include "app/SafeRewrite.h"
#include "app/TextBounds.h"
#include "app/bascommon.h"
#include "scheme/SchemeFormat.h"

#include <QDir>
#include <QFile>

#include <utility>

using namespace schemeformat;

const QString SchemeStore::NamesFile = QStringLiteral("set.hcs");
const QString SchemeStore::ColorsFile = QStringLiteral("colorset.dat");
const QString SchemeStore::NamesTempFile = QStringLiteral("set.hct");
const QString SchemeStore::ColorsTempFile = QStringLiteral("colorset.dam");

namespace {

// A data file's content, or its first `maxSize` bytes. Mapped rather than
// copied where the file allows it: a damaged list can hold a name of
// gigabytes, and a sparse file takes no room on the disk.
class FileContent
{
public:
    // A missing file is empty content when `missingIsEmpty` holds; a folder of
    // that name is always a failure (QFile refuses to open one).
    FileResult read(const QString& path, bool missingIsEmpty, qint64 maxSize = -1)
    {
        const DataFolderAccess folder(DataFolderAccess::folderOf(path));
        const QString name = DataFolderAccess::nameOf(path);
        if (missingIsEmpty && folder.status(name).kind == DataFolderAccess::Kind::Missing)
            return FileResult::success();
        return folder.mapContent(m_file, name, QStringLiteral("read"), m_content, maxSize);
    }

    // Valid while this object lives.
    const QByteArray& bytes() const { return m_content; }

private:
    QFile m_file;
    QByteArray m_content;
};

QString unreadableColors(int schemeNumber, const QString& path, const QString& reason)
{
    return describeFileError(QStringLiteral("read the colors of scheme %1 from").arg(schemeNumber),
                             path, reason) +
           QStringLiteral(" Colors that could not be read are shown as black on white.");
}

// Puts a file back to the size it had before an append, or removes it when the
// append created it.
void undoAppend(QFile& file, bool existed, qint64 oldSize)
{
    if (existed) {
        file.resize(oldSize);
        file.close();
    } else {
        file.close();
        static_cast<void>(datafiles::RemoveFile(file.fileName(), QStringLiteral("remove")));
    }
}

bool exists(const QString& path)
{
    return DataFolderAccess(DataFolderAccess::folderOf(path))
               .status(DataFolderAccess::nameOf(path))
               .kind != DataFolderAccess::Kind::Missing;
}

bool isFile(const QString& path, qint64* size = nullptr)
{
    const DataFolderAccess::Status status =
        DataFolderAccess(DataFolderAccess::folderOf(path)).status(DataFolderAccess::nameOf(path));
    if (size)
        *size = status.size;
    return status.kind == DataFolderAccess::Kind::File;
}

} // namespace

SchemeStore::SchemeStore(QString dataFolder) : m_dataFolder(std::move(dataFolder)) {}

QString SchemeStore::filePath(const QString& fileName) const
{
    return bascommon::DataFilePath(m_dataFolder, fileName);
}

FileResult SchemeStore::readNames(QStringList& names, QString* notice) const
{
    names.clear();
    if (notice)
        notice->clear();
    const QString path = filePath(NamesFile);
    // A list that is a link is refused like any other link in the folder:
    // whatever it leads to is not the program's to read.
    FileContent content;
    if (FileResult read = content.read(path, false); !read)
        return read;
    qsizetype cutNames = 0;
    for (const QByteArrayView line : NameLines(content.bytes())) {
        bool cut = false;
        names.append(NameFromLine(line, &cut));
        cutNames += cut ? 1 : 0;
    }
    if (notice && cutNames > 0)
        *notice =
            QStringLiteral("%1 in \"%2\" %3 longer than %4 characters and %5 shown cut short.")
                .arg(cutNames == 1 ? QStringLiteral("One scheme name")
                                   : QStringLiteral("%1 scheme names").arg(cutNames),
                     QDir::toNativeSeparators(path),
                     cutNames == 1 ? QStringLiteral("is") : QStringLiteral("are"))
                .arg(textbounds::MaxNameLength)
                .arg(cutNames == 1 ? QStringLiteral("is") : QStringLiteral("are"));
    return FileResult::success();
}

FileResult SchemeStore::readColors(int index, SchemeColors& colors) const
{
    colors = SchemeColors{};
    const QString path = filePath(ColorsFile);
    const int schemeNumber = index + 1;
    QFile file;
    if (FileResult opened =
            DataFolderAccess(m_dataFolder)
                .open(file, ColorsFile, DataFolderAccess::Access::Read,
                      QStringLiteral("read the colors of scheme %1 from").arg(schemeNumber));
        !opened)
        return FileResult::failure(opened.message +
                                   QStringLiteral(" Colors that could not be read are shown as "
                                                  "black on white."));
    const qint64 offset = qint64(index) * RecordLength;
    QByteArray record;
    if (offset < file.size() && file.seek(offset))
        record = file.read(RecordLength);
    file.close();

    const DecodedRecord decoded = DecodeRecord(record);
    colors = decoded.colors;
    if (record.isEmpty())
        return FileResult::failure(unreadableColors(
            schemeNumber, path, QStringLiteral("the file ends before its record")));
    if (record.size() < RecordLength)
        return FileResult::failure(
            unreadableColors(schemeNumber, path, QStringLiteral("its record is cut short")));
    if (decoded.unreadableFields > 0)
        return FileResult::failure(
            unreadableColors(schemeNumber, path,
                             QStringLiteral("%1 of its 6 fields do not hold six hexadecimal digits")
                                 .arg(decoded.unreadableFields)));
    return FileResult::success();
}

FileResult SchemeStore::save(const QString& name, const SchemeColors& colors) const
{
    const QString namesPath = filePath(NamesFile);
    const QString colorsPath = filePath(ColorsFile);

    // A list that is a link is refused as what it is, before anything is read.
    const QString action = QStringLiteral("write");
    if (FileResult link = datafiles::RefuseLink(namesPath, action); !link)
        return link;
    FileContent content;
    if (FileResult read = content.read(namesPath, true); !read)
        return read;
    const QByteArray& names = content.bytes();
    QByteArray addition;
    // A last line without its line break gets one. A lone CR at the very end
    // is read as that line's ending already; a second CR would become part
    // of the line and change the name it holds.
    if (names.endsWith('\r'))
        addition = "\n";
    else if (!names.isEmpty() && !names.endsWith('\n'))
        addition = "\r\n";
    addition += LineFromName(name);
    // The addition ends the last line, if it has no break, and adds one.
    const qint64 recordNumber = NameLines(names).size() + 1;
    const QByteArray record = EncodeRecord(colors);

    // Both files are opened before either is written, so that a file that
    // cannot be written leaves the other one alone.
    QFile colorsFile;
    const bool colorsExisted = exists(colorsPath);
    if (FileResult opened = datafiles::OpenForWriting(colorsFile, colorsPath, action); !opened)
        return opened;
    const qint64 oldColorsSize = colorsFile.size();

    QFile namesFile;
    const bool namesExisted = exists(namesPath);
    if (FileResult opened = datafiles::OpenForWriting(namesFile, namesPath, action); !opened) {
        undoAppend(colorsFile, colorsExisted, oldColorsSize);
        return opened;
    }
    const qint64 oldNamesSize = namesFile.size();
    if (!namesFile.seek(oldNamesSize)) {
        const QString reason = namesFile.errorString();
        undoAppend(namesFile, namesExisted, oldNamesSize);
        undoAppend(colorsFile, colorsExisted, oldColorsSize);
        return FileResult::failure(describeFileError(action, namesPath, reason));
    }

    if (namesFile.write(addition) != addition.size() || !namesFile.flush()) {
        const QString reason = namesFile.errorString();
        undoAppend(namesFile, namesExisted, oldNamesSize);
        undoAppend(colorsFile, colorsExisted, oldColorsSize);
        return FileResult::failure(describeFileError(QStringLiteral("write"), namesPath, reason));
    }

    // Names without a record before this one (a colour file shorter than the
    // list) get blank records, which read back as unreadable rather than as
    // colours nobody chose.
    const qint64 offset = (recordNumber - 1) * RecordLength;
    QByteArray bytes;
    qint64 position = offset;
    if (oldColorsSize < offset) {
        bytes = QByteArray(offset - oldColorsSize, ' ');
        position = oldColorsSize;
    }
    bytes += record;
    if (!colorsFile.seek(position) || colorsFile.write(bytes) != bytes.size() ||
        !colorsFile.flush()) {
        const QString reason = colorsFile.errorString();
        undoAppend(namesFile, namesExisted, oldNamesSize);
        undoAppend(colorsFile, colorsExisted, oldColorsSize);
        return FileResult::failure(describeFileError(QStringLiteral("write"), colorsPath, reason));
    }
    namesFile.close();
    colorsFile.close();
    return FileResult::success();
}

FileResult SchemeStore::remove(int index) const
{
    const QString namesPath = filePath(NamesFile);
    const QString colorsPath = filePath(ColorsFile);
    const QString namesTemp = filePath(NamesTempFile);
    const QString colorsTemp = filePath(ColorsTempFile);

    FileContent namesContent;
    if (FileResult read = namesContent.read(namesPath, false); !read)
        return read;
    const QByteArray& oldNames = namesContent.bytes();

    // A link would be replaced by a plain file: refused before anything is written.
    for (const QString& path : {namesPath, colorsPath})
        if (FileResult link = datafiles::RefuseLink(path, QStringLiteral("delete the scheme from"));
            !link)
            return link;

    const QList<QByteArrayView> lines = NameLines(oldNames);
    if (index < 0 || index >= lines.size())
        return FileResult::failure(
            describeFileError(QStringLiteral("delete scheme %1 from").arg(index + 1), namesPath,
                              QStringLiteral("the file holds no such scheme")));
    // Records beyond the name count belong to no name and are not read.
    FileContent colorsContent;
    if (FileResult read = colorsContent.read(colorsPath, true, qint64(lines.size()) * RecordLength);
        !read)
        return read;
    const QByteArray& oldColors = colorsContent.bytes();

    QByteArray newNames;
    QByteArray newColors;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i == index)
            continue;
        const QByteArrayView line = lines.at(i);
        newNames += '"';
        newNames += line.sliced(1, line.size() - 2);
        newNames += "\"\r\n";
        newColors += oldColors.mid(i * RecordLength, RecordLength);
    }

    if (FileResult written = writeSyncedFile(namesTemp, newNames); !written)
        return written;
    if (FileResult written = writeSyncedFile(colorsTemp, newColors); !written) {
        static_cast<void>(datafiles::RemoveFile(namesTemp, QStringLiteral("remove")));
        return written;
    }
    if (FileResult renamed = renameOver(namesTemp, namesPath); !renamed) {
        static_cast<void>(datafiles::RemoveFile(colorsTemp, QStringLiteral("remove")));
        return renamed;
    }
    if (FileResult renamed = renameOver(colorsTemp, colorsPath); !renamed) {
        // The names have already moved on; put them back so that names and
        // records stay in step.
        (void)replaceFileContents(namesPath, namesTemp, oldNames);
        return renamed;
    }
    return FileResult::success();
}

FileResult SchemeStore::finishInterruptedRemove() const
{
    const QString colorsTemp = filePath(ColorsTempFile);
    const QString namesTemp = filePath(NamesTempFile);
    if (!isFile(colorsTemp) && !isFile(namesTemp))
        return FileResult::success();

    const QString namesPath = filePath(NamesFile);
    const QString colorsPath = filePath(ColorsFile);
    // A list that is a link is refused as what it is, before anything is read.
    const QString action = QStringLiteral("write");
    if (FileResult link = datafiles::RefuseLink(namesPath, action); !link)
        return link;
    FileContent names;
    if (FileResult read = names.read(namesPath, true); !read)
        return read;
    // The new colour file holds exactly one record per remaining name and is
    // complete once the name list has been replaced, since both were written
    // and synced before the first rename. A colour file written by a removal
    // that stopped earlier belongs to a list with one name more.
    const qint64 expectedSize = qint64(NameLines(names.bytes()).size()) * RecordLength;
    qint64 newColorsSize = 0;
    qint64 colorsSize = 0;
    isFile(colorsPath, &colorsSize);
    if (!exists(namesTemp) && isFile(colorsTemp, &newColorsSize) && newColorsSize == expectedSize &&
        colorsSize != expectedSize)
        return renameOver(colorsTemp, colorsPath);

    for (const QString& leftover : {namesTemp, colorsTemp})
        if (isFile(leftover))
            if (FileResult removed = datafiles::RemoveFile(leftover, QStringLiteral("remove"));
                !removed)
                return removed;
    return FileResult::success();
}
