#include "palettes/PaletteUndo.h"

#include "app/SafeRewrite.h"
#include "app/bascommon.h"
#include "palettes/PaletteIndex.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// In each edit's folder: what the edit was, the files as they were before it
// (a file that did not exist has no copy), and their digests after it.
const QString EditFile = QStringLiteral("edit");
const QString PaletteCopy = QStringLiteral("palette");
const QString IndexCopy = QStringLiteral("index");
const QString AfterFile = QStringLiteral("after");

const PaletteUndo::Edit AllEdits[] = {PaletteUndo::Edit::DeletePalette,
                                      PaletteUndo::Edit::DeleteColor, PaletteUndo::Edit::ClearAll,
                                      PaletteUndo::Edit::ClearDuplicates};

QString editKey(PaletteUndo::Edit edit)
{
    switch (edit) {
    case PaletteUndo::Edit::DeletePalette:
        return QStringLiteral("delete-palette");
    case PaletteUndo::Edit::DeleteColor:
        return QStringLiteral("delete-color");
    case PaletteUndo::Edit::ClearAll:
        return QStringLiteral("clear-all");
    case PaletteUndo::Edit::ClearDuplicates:
        break;
    }
    return QStringLiteral("clear-duplicates");
}

std::optional<QByteArray> readWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return content;
}

// A missing palette file and an empty one are the same empty palette: the
// view creates the file that clearing all colours deletes.
QString digestOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QString::fromLatin1(
            QCryptographicHash::hash(QByteArray(), QCryptographicHash::Sha256).toHex());
    if (!info.isFile())
        return QStringLiteral("no file");
    const std::optional<QByteArray> content = readWhole(path);
    if (!content)
        return QStringLiteral("unreadable");
    return QString::fromLatin1(
        QCryptographicHash::hash(*content, QCryptographicHash::Sha256).toHex());
}

// Copies `source` into `copy`, synced; a missing source leaves no copy.
FileResult copyAside(const QString& source, const QString& copy)
{
    if (!QFileInfo::exists(source))
        return FileResult::success();
    const std::optional<QByteArray> content = readWhole(source);
    if (!content)
        return FileResult::failure(describeFileError(QStringLiteral("read"), source,
                                                     QStringLiteral("the file cannot be read")));
    return writeSyncedFile(copy, *content);
}

// Puts `copy` back in place of `target`, or removes `target` when there is no
// copy (it did not exist before the edit).
FileResult putBack(const QString& copy, const QString& target)
{
    if (!QFileInfo::exists(copy)) {
        if (QFileInfo::exists(target) && !QFile::remove(target))
            return FileResult::failure(describeFileError(
                QStringLiteral("remove"), target, QStringLiteral("the file cannot be removed")));
        return FileResult::success();
    }
    const std::optional<QByteArray> content = readWhole(copy);
    if (!content)
        return FileResult::failure(describeFileError(
            QStringLiteral("read"), copy, QStringLiteral("the kept copy cannot be read")));
    return replaceFileContents(target, target + QStringLiteral(".undo"), *content);
}

} // namespace

QString PaletteUndo::folderName()
{
    return QStringLiteral("undo");
}

QString PaletteUndo::editName(Edit edit)
{
    switch (edit) {
    case Edit::DeletePalette:
        return QStringLiteral("Delete Current Palette");
    case Edit::DeleteColor:
        return QStringLiteral("Delete Selected Color");
    case Edit::ClearAll:
        return QStringLiteral("Clear All Colors");
    case Edit::ClearDuplicates:
        break;
    }
    return QStringLiteral("Clear Duplicate Colors");
}

PaletteUndo::PaletteUndo(QString dataFolder) : m_dataFolder(std::move(dataFolder)) {}

QString PaletteUndo::undoFolder() const
{
    return bascommon::DataFilePath(m_dataFolder, folderName());
}

QStringList PaletteUndo::entryFolders() const
{
    // Named by a number that grows with every edit, all of one width, so the
    // names sort oldest first.
    QStringList entries;
    const QStringList names =
        QDir(undoFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        bool number = false;
        name.toULongLong(&number);
        if (number && name.size() == 10 &&
            QFileInfo::exists(undoFolder() + QLatin1Char('/') + name + QLatin1Char('/') + EditFile))
            entries.append(name);
    }
    return entries;
}

FileResult PaletteUndo::keep(Edit edit, const QString& paletteFile)
{
    m_pendingEntry.clear();
    const QString folder = undoFolder();
    const auto failed = [&folder](const QString& reason) {
        return FileResult::failure(
            describeFileError(QStringLiteral("keep a copy for undo in"), folder, reason) +
            QStringLiteral(" The command was not carried out."));
    };
    if (!paletteindex::IsPlainFileName(paletteFile))
        return failed(QStringLiteral("the palette has no file of its own"));
    // Never the data folder itself: a data folder that has gone stays gone.
    const bool madeNow = !QFileInfo::exists(folder);
    if (!QFileInfo(m_dataFolder).isDir() || (madeNow && !QDir(m_dataFolder).mkdir(folderName())) ||
        !QFileInfo(folder).isDir())
        return failed(QStringLiteral("the folder cannot be made"));
    // A failure leaves the data folder as it was, without an empty folder.
    const auto undoMaking = [madeNow, this] {
        if (madeNow)
            QDir(m_dataFolder).rmdir(folderName());
    };

    const QStringList existing = entryFolders();
    const qulonglong next = existing.isEmpty() ? 1 : existing.constLast().toULongLong() + 1;
    const QString name = QStringLiteral("%1").arg(next, 10, 10, QLatin1Char('0'));
    const QString entry = folder + QLatin1Char('/') + name;
    if (!QDir(folder).mkdir(name)) {
        undoMaking();
        return failed(QStringLiteral("a folder for the copy cannot be made"));
    }

    const QString palettePath = bascommon::DataFilePath(m_dataFolder, paletteFile);
    FileResult copied = copyAside(palettePath, entry + QLatin1Char('/') + PaletteCopy);
    if (copied && edit == Edit::DeletePalette)
        copied = copyAside(bascommon::DataFilePath(m_dataFolder, paletteindex::IndexFileName()),
                           entry + QLatin1Char('/') + IndexCopy);
    // The description comes last: a folder without it is no kept edit.
    if (copied)
        copied = writeSyncedFile(
            entry + QLatin1Char('/') + EditFile,
            (editKey(edit) + QLatin1Char('\n') + paletteFile + QLatin1Char('\n')).toUtf8());
    if (!copied) {
        QDir(entry).removeRecursively();
        undoMaking();
        return FileResult::failure(copied.message +
                                   QStringLiteral(" The command was not carried out."));
    }
    m_pendingEntry = entry;
    prune();
    return FileResult::success();
}

void PaletteUndo::prune() const
{
    QStringList entries = entryFolders();
    while (entries.size() > Depth)
        QDir(undoFolder() + QLatin1Char('/') + entries.takeFirst()).removeRecursively();
}

void PaletteUndo::editDone()
{
    if (m_pendingEntry.isEmpty())
        return;
    const QStringList lines =
        QString::fromUtf8(
            readWhole(m_pendingEntry + QLatin1Char('/') + EditFile).value_or(QByteArray()))
            .split(QLatin1Char('\n'));
    if (lines.size() >= 2) {
        const QString after =
            digestOf(bascommon::DataFilePath(m_dataFolder, lines.at(1))) + QLatin1Char('\n') +
            digestOf(bascommon::DataFilePath(m_dataFolder, paletteindex::IndexFileName()));
        // Without the digests undoing still works; it only cannot warn.
        static_cast<void>(
            writeSyncedFile(m_pendingEntry + QLatin1Char('/') + AfterFile, after.toLatin1()));
    }
    m_pendingEntry.clear();
}

void PaletteUndo::editFailed()
{
    if (!m_pendingEntry.isEmpty())
        QDir(m_pendingEntry).removeRecursively();
    m_pendingEntry.clear();
}

std::optional<PaletteUndo::Entry> PaletteUndo::last() const
{
    const QStringList entries = entryFolders();
    if (entries.isEmpty())
        return std::nullopt;
    const QString entry = undoFolder() + QLatin1Char('/') + entries.constLast();
    const QStringList lines =
        QString::fromUtf8(readWhole(entry + QLatin1Char('/') + EditFile).value_or(QByteArray()))
            .split(QLatin1Char('\n'));
    if (lines.size() < 2 || !paletteindex::IsPlainFileName(lines.at(1)))
        return std::nullopt;
    std::optional<Entry> found;
    for (const Edit edit : AllEdits)
        if (editKey(edit) == lines.at(0))
            found = Entry{edit, lines.at(1)};
    if (!found)
        return std::nullopt;
    const QStringList after =
        QString::fromLatin1(readWhole(entry + QLatin1Char('/') + AfterFile).value_or(QByteArray()))
            .split(QLatin1Char('\n'));
    if (after.size() == 2) {
        const bool paletteChanged =
            digestOf(bascommon::DataFilePath(m_dataFolder, found->paletteFile)) != after.at(0);
        const bool indexChanged =
            found->edit == Edit::DeletePalette &&
            digestOf(bascommon::DataFilePath(m_dataFolder, paletteindex::IndexFileName())) !=
                after.at(1);
        found->changedSince = paletteChanged || indexChanged;
    }
    return found;
}

FileResult PaletteUndo::undoLast()
{
    const std::optional<Entry> entry = last();
    if (!entry)
        return FileResult::failure(QStringLiteral("There is no palette edit to undo."));
    const QString folder = undoFolder() + QLatin1Char('/') + entryFolders().constLast();
    // The palette file first: should the index then fail, the file is merely
    // not listed yet, and the copy stays for another try.
    if (FileResult palette = putBack(folder + QLatin1Char('/') + PaletteCopy,
                                     bascommon::DataFilePath(m_dataFolder, entry->paletteFile));
        !palette)
        return palette;
    if (entry->edit == Edit::DeletePalette) {
        if (FileResult index =
                putBack(folder + QLatin1Char('/') + IndexCopy,
                        bascommon::DataFilePath(m_dataFolder, paletteindex::IndexFileName()));
            !index)
            return index;
    }
    QDir(folder).removeRecursively();
    return FileResult::success();
}
