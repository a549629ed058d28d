#include "palettes/PaletteUndo.h"

#include "app/DataFolderAccess.h"
#include "palettes/PaletteNames.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace {

using Access = DataFolderAccess;

// Each entry is a folder named by a number that grows with every edit, all
// of one width so that the names sort oldest first. In it: the description,
// the palette file as it was before the edit (none when it had no file), its
// names file likewise, and the palette's state after the edit.
constexpr int NumberWidth = 10;
const QString EditFile = QStringLiteral("edit");
const QString PaletteCopy = QStringLiteral("palette");
const QString NamesCopy = QStringLiteral("names");
const QString AfterFile = QStringLiteral("after");
// An entry being written, and one being removed.
const QString Unfinished = QStringLiteral(".new");
const QString Removed = QStringLiteral(".gone");
const QString Temporary = QStringLiteral(".part");
const QByteArray Signature = QByteArrayLiteral("tintora undo 1");
// A description is a few lines; anything larger is not one.
constexpr qint64 MaxDescription = 64 * 1024;

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

QString inUndo(const QString& name)
{
    return PaletteUndo::folderName() + QLatin1Char('/') + name;
}

QString inEntry(const QString& entry, const QString& file)
{
    return inUndo(entry) + QLatin1Char('/') + file;
}

bool isEntryNumber(const QString& name)
{
    if (name.size() != NumberWidth)
        return false;
    return std::all_of(name.begin(), name.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

// The state of a palette file that tells a later change from it.
QByteArray fingerprint(const Access::Status& status)
{
    // A missing palette file and an empty one are the same empty palette:
    // the view creates the file that clearing all colours deletes.
    if (status.kind == Access::Kind::Missing ||
        (status.kind == Access::Kind::File && status.size == 0))
        return QByteArrayLiteral("empty");
    if (status.kind != Access::Kind::File)
        return QByteArrayLiteral("no file");
    return QByteArray::number(status.size) + ' ' + QByteArray::number(status.modified);
}

struct Description
{
    PaletteUndo::Entry entry;
    // -1: the palette had no file before the edit.
    qint64 copySize = -1;
    // -1: the palette had no names file (and entries kept before names
    // existed have no line for it).
    qint64 namesSize = -1;
};

// The state of the palette and of its names after an edit.
QByteArray stateAfter(const Access& access, const QString& paletteFile)
{
    return fingerprint(access.status(paletteFile)) + '\n' +
           fingerprint(access.status(PaletteNames::fileFor(paletteFile)));
}

bool copyMatches(const Access& access, const QString& name, qint64 size)
{
    const Access::Status copy = access.status(name);
    return size < 0 ? copy.kind == Access::Kind::Missing
                    : copy.kind == Access::Kind::File && copy.size == size;
}

std::optional<QByteArray> readSmall(const Access& access, const QString& name)
{
    const Access::Status status = access.status(name);
    if (status.kind != Access::Kind::File || status.size > MaxDescription)
        return std::nullopt;
    QFile file;
    if (!access.open(file, name, Access::Access::Read, QStringLiteral("read")))
        return std::nullopt;
    QByteArray content = file.read(MaxDescription);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return content;
}

// The description of the entry `entry`, when it is a whole entry.
std::optional<Description> describe(const Access& access, const QString& entry)
{
    if (!isEntryNumber(entry) || access.status(inUndo(entry)).kind != Access::Kind::Folder)
        return std::nullopt;
    const std::optional<QByteArray> content = readSmall(access, inEntry(entry, EditFile));
    if (!content)
        return std::nullopt;
    const QList<QByteArray> lines = content->split('\n');
    if (lines.size() < 7 || lines.at(0) != Signature)
        return std::nullopt;
    Description found;
    bool known = false;
    for (const PaletteUndo::Edit edit : AllEdits)
        if (editKey(edit).toUtf8() == lines.at(1)) {
            found.entry.edit = edit;
            known = true;
        }
    bool positionRead = false;
    bool sizeRead = false;
    found.entry.palette.file = QString::fromUtf8(lines.at(2));
    found.entry.palette.name = QString::fromUtf8(lines.at(3));
    found.entry.palette.kind = QString::fromUtf8(lines.at(4));
    found.entry.palette.position = lines.at(5).toInt(&positionRead);
    found.copySize = lines.at(6).toLongLong(&sizeRead);
    if (!known || !positionRead || !sizeRead ||
        !paletteindex::IsPlainFileName(found.entry.palette.file))
        return std::nullopt;
    if (lines.size() > 7 && !lines.at(7).isEmpty()) {
        bool namesRead = false;
        found.namesSize = lines.at(7).toLongLong(&namesRead);
        if (!namesRead)
            return std::nullopt;
    }
    // The copies must be there, whole, exactly when the description says so.
    if (!copyMatches(access, inEntry(entry, PaletteCopy), found.copySize) ||
        !copyMatches(access, inEntry(entry, NamesCopy), found.namesSize))
        return std::nullopt;
    return found;
}

// The entries that describe themselves, oldest first.
QStringList wholeEntries(const Access& access)
{
    QStringList entries;
    for (const Access::Listed& listed : access.list(PaletteUndo::folderName()))
        if (listed.kind == Access::Kind::Folder && isEntryNumber(listed.name) &&
            describe(access, listed.name))
            entries.append(listed.name);
    entries.sort();
    return entries;
}

// Made invalid by one rename, then removed: an entry half removed is never
// taken for a whole one.
void dropEntry(const Access& access, const QString& entry)
{
    const QString gone = entry + Removed;
    static_cast<void>(access.removeAll(inUndo(gone), QStringLiteral("remove")));
    if (access.rename(inUndo(entry), inUndo(gone), QStringLiteral("remove"),
                      Access::Existing::Keep))
        static_cast<void>(access.removeAll(inUndo(gone), QStringLiteral("remove")));
    else
        static_cast<void>(access.removeAll(inUndo(entry), QStringLiteral("remove")));
}

// A file name in the data folder that neither the index nor the folder uses.
QString freeFileName(const Access& access, const paletteindex::EntryTable& listed)
{
    // The index last, so that the name follows its last palette as a new
    // palette's would.
    QStringList taken;
    for (const Access::Listed& present : access.list())
        taken.append(present.name);
    for (qsizetype i = 0; i < listed.size(); ++i)
        taken.append(listed.files.at(i));
    QString name = paletteindex::NextFileName(taken);
    while (access.status(name).kind != Access::Kind::Missing) {
        taken.append(name);
        name = paletteindex::NextFileName(taken);
    }
    return name;
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

void PaletteUndo::clearLeftovers() const
{
    const Access access(m_dataFolder);
    for (const Access::Listed& listed : access.list(folderName())) {
        if (listed.kind == Access::Kind::Folder && describe(access, listed.name)) {
            static_cast<void>(access.removeAll(inEntry(listed.name, AfterFile + Temporary),
                                               QStringLiteral("remove")));
            continue;
        }
        static_cast<void>(access.removeAll(inUndo(listed.name), QStringLiteral("remove")));
    }
}

FileResult PaletteUndo::keep(Edit edit, const paletteindex::Entry& palette)
{
    m_pendingEntry.clear();
    const Access access(m_dataFolder);
    const QString folder = access.pathOf(folderName());
    const auto failed = [&folder](const QString& reason) {
        return FileResult::failure(
            describeFileError(QStringLiteral("keep a copy for undo in"), folder, reason) +
            QStringLiteral(" The command was not carried out."));
    };
    if (!access.opened())
        return failed(QStringLiteral("the data folder cannot be opened"));
    if (!paletteindex::IsPlainFileName(palette.file))
        return failed(QStringLiteral("the palette has no file of its own"));
    const bool madeNow = access.status(folderName()).kind == Access::Kind::Missing;
    if (FileResult made = access.makeFolder(folderName(), QStringLiteral("make the folder")); !made)
        return FileResult::failure(made.message + QStringLiteral(" The command was not carried "
                                                                 "out."));
    // A failure leaves the data folder as it was, without an empty folder.
    const auto undoMaking = [&access, madeNow] {
        if (madeNow)
            static_cast<void>(access.removeAll(folderName(), QStringLiteral("remove")));
    };

    // Past every number in use, whole entry or not, so that nothing left in
    // the folder is in the way.
    qulonglong last = 0;
    for (const Access::Listed& listed : access.list(folderName())) {
        const QString number = listed.name.left(NumberWidth);
        if (isEntryNumber(number))
            last = std::max(last, number.toULongLong());
    }
    const QString entry = QStringLiteral("%1").arg(last + 1, NumberWidth, 10, QLatin1Char('0'));
    const QString unfinished = entry + Unfinished;
    const auto abandon = [&](const FileResult& why) {
        static_cast<void>(access.removeAll(inUndo(unfinished), QStringLiteral("remove")));
        undoMaking();
        return FileResult::failure(why.message +
                                   QStringLiteral(" The command was not carried out."));
    };
    if (FileResult made = access.makeFolder(inUndo(unfinished), QStringLiteral("make the folder"));
        !made)
        return abandon(made);

    // A streamed copy of `file` into the entry as `copyName`; its size, -1 when
    // there is no such file, or nothing when it could not be copied.
    FileResult copyFailure;
    const auto keepCopy = [&](const QString& file,
                              const QString& copyName) -> std::optional<qint64> {
        if (access.status(file).kind == Access::Kind::Missing)
            return -1;
        QFile source;
        if (FileResult opened = access.open(source, file, Access::Access::Read,
                                            QStringLiteral("keep a copy for undo of"));
            !opened) {
            copyFailure = opened;
            return std::nullopt;
        }
        if (FileResult copied = access.copy(source, inEntry(unfinished, copyName),
                                            inEntry(unfinished, copyName + Temporary),
                                            QStringLiteral("keep a copy for undo of"));
            !copied) {
            copyFailure = copied;
            return std::nullopt;
        }
        return access.status(inEntry(unfinished, copyName)).size;
    };
    // The copy first, streamed; the description second; the rename last. The
    // names go with the colours: undoing gives back both.
    const std::optional<qint64> copySize = keepCopy(palette.file, PaletteCopy);
    if (!copySize)
        return abandon(copyFailure);
    const std::optional<qint64> namesSize =
        keepCopy(PaletteNames::fileFor(palette.file), NamesCopy);
    if (!namesSize)
        return abandon(copyFailure);
    QByteArray description = Signature + '\n';
    for (const QString& line : {editKey(edit), palette.file, palette.name, palette.kind,
                                QString::number(palette.position), QString::number(*copySize),
                                QString::number(*namesSize)}) {
        QString oneLine = line;
        oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
        description += oneLine.toUtf8() + '\n';
    }
    if (FileResult written =
            access.replace(inEntry(unfinished, EditFile), inEntry(unfinished, EditFile + Temporary),
                           description, QStringLiteral("keep a copy for undo in"));
        !written)
        return abandon(written);
    if (FileResult made =
            access.rename(inUndo(unfinished), inUndo(entry),
                          QStringLiteral("keep a copy for undo in"), Access::Existing::Keep);
        !made)
        return abandon(made);
    m_pendingEntry = entry;

    QStringList entries = wholeEntries(access);
    while (entries.size() > Depth)
        dropEntry(access, entries.takeFirst());
    return FileResult::success();
}

void PaletteUndo::editDone()
{
    if (m_pendingEntry.isEmpty())
        return;
    const Access access(m_dataFolder);
    if (const std::optional<Description> described = describe(access, m_pendingEntry)) {
        // Without it undoing still works; it only cannot warn.
        static_cast<void>(access.replace(
            inEntry(m_pendingEntry, AfterFile), inEntry(m_pendingEntry, AfterFile + Temporary),
            stateAfter(access, described->entry.palette.file), QStringLiteral("write")));
    }
    m_pendingEntry.clear();
}

void PaletteUndo::editFailed()
{
    if (!m_pendingEntry.isEmpty())
        dropEntry(Access(m_dataFolder), m_pendingEntry);
    m_pendingEntry.clear();
}

std::optional<PaletteUndo::Entry> PaletteUndo::last() const
{
    const Access access(m_dataFolder);
    QStringList entries;
    for (const Access::Listed& listed : access.list(folderName()))
        if (listed.kind == Access::Kind::Folder && isEntryNumber(listed.name))
            entries.append(listed.name);
    entries.sort();
    // Newest first; whatever does not describe itself is passed over.
    for (auto it = entries.crbegin(); it != entries.crend(); ++it)
        if (const std::optional<Description> described = describe(access, *it))
            return described->entry;
    return std::nullopt;
}

std::optional<PaletteUndo::Plan> PaletteUndo::plan() const
{
    const std::optional<Entry> entry = last();
    if (!entry)
        return std::nullopt;
    const Access access(m_dataFolder);
    Plan plan;
    plan.entry = *entry;
    plan.file = entry->palette.file;
    const paletteindex::Reading reading = paletteindex::Read(m_dataFolder);
    const paletteindex::EntryTable& listed = reading.entries;
    for (qsizetype i = 0; i < listed.size(); ++i)
        if (listed.files.view(i).compare(entry->palette.file, Qt::CaseInsensitive) == 0)
            plan.occupant = listed.names.at(i);
    const bool listedAsBefore = entry->edit != Edit::DeletePalette &&
                                plan.occupant == entry->palette.name && !plan.occupant.isEmpty();
    if (listedAsBefore) {
        plan.occupant.clear();
        QStringList entries = wholeEntries(access);
        const std::optional<QByteArray> after =
            entries.isEmpty() ? std::nullopt
                              : readSmall(access, inEntry(entries.constLast(), AfterFile));
        // An entry kept before names existed notes the palette alone.
        const QByteArray now = stateAfter(access, entry->palette.file);
        plan.changedSince =
            after && *after != (after->contains('\n') ? now : now.left(now.indexOf('\n')));
        return plan;
    }
    plan.addsEntry = true;
    if (!plan.occupant.isEmpty() ||
        access.status(entry->palette.file).kind != Access::Kind::Missing)
        plan.file = freeFileName(access, listed);
    return plan;
}

FileResult PaletteUndo::undoLast()
{
    const std::optional<Plan> plan = this->plan();
    if (!plan)
        return FileResult::failure(QStringLiteral("There is no palette edit to undo."));
    const Access access(m_dataFolder);
    const QStringList entries = wholeEntries(access);
    if (entries.isEmpty())
        return FileResult::failure(QStringLiteral("There is no palette edit to undo."));
    const QString entry = entries.constLast();
    const std::optional<Description> described = describe(access, entry);
    if (!described)
        return FileResult::failure(QStringLiteral("There is no palette edit to undo."));
    const QString action = QStringLiteral("undo the edit of");
    const QString temporary = plan->file + QStringLiteral(".tmp");
    QFile copy;
    if (described->copySize >= 0) {
        if (FileResult opened =
                access.open(copy, inEntry(entry, PaletteCopy), Access::Access::Read, action);
            !opened)
            return opened;
    }

    // The names come back after the colours they name (a names file never
    // waits for colours it does not fit) and before the entry that shows them.
    const auto restoreNames = [&]() -> FileResult {
        const QString names = PaletteNames::fileFor(plan->file);
        if (described->namesSize < 0)
            return access.removeFile(names, action);
        QFile namesCopy;
        if (FileResult opened =
                access.open(namesCopy, inEntry(entry, NamesCopy), Access::Access::Read, action);
            !opened)
            return opened;
        return access.copy(namesCopy, names, PaletteNames::temporaryFor(plan->file), action);
    };

    if (plan->addsEntry) {
        // The file first, under a name nobody uses, then the entry that lists
        // it: until the entry is there, nothing shows the file.
        if (described->copySize >= 0) {
            bool taken = false;
            if (FileResult placed = access.copy(copy, plan->file, temporary, action,
                                                Access::Existing::Keep, &taken);
                !placed || taken)
                return placed ? FileResult::failure(describeFileError(
                                    action, access.pathOf(plan->file),
                                    QStringLiteral("a file of that name has appeared")))
                              : placed;
        }
        if (FileResult named = restoreNames(); !named) {
            if (described->copySize >= 0)
                static_cast<void>(access.removeFile(plan->file, action));
            return named;
        }
        const paletteindex::Entry& palette = described->entry.palette;
        if (FileResult listed = paletteindex::InsertEntry(m_dataFolder, palette.position,
                                                          plan->file, palette.name, palette.kind);
            !listed) {
            if (described->copySize >= 0)
                static_cast<void>(access.removeFile(plan->file, action));
            static_cast<void>(PaletteNames::remove(m_dataFolder, plan->file));
            return listed;
        }
    } else {
        if (described->copySize >= 0) {
            if (FileResult placed = access.copy(copy, plan->file, temporary, action); !placed)
                return placed;
        } else if (FileResult removed = access.removeFile(plan->file, action); !removed) {
            return removed;
        }
        if (FileResult named = restoreNames(); !named)
            return named;
    }
    copy.close();
    dropEntry(access, entry);
    return FileResult::success();
}
