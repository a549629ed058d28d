#include "app/DataFolder.h"

#include "app/DataFolderAccess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>

#ifndef TINTORA_SHIPPED_FROM_PROGRAM
#define TINTORA_SHIPPED_FROM_PROGRAM "../share/tintora"
#endif

namespace {

const QString IndexFile = QStringLiteral("colorchart.cci");
const QString HelpFile = QStringLiteral("tintora.chm");

bool holdsShippedData(const QString& folder)
{
    return !folder.isEmpty() && QFileInfo(QDir(folder).filePath(IndexFile)).isFile();
}

} // namespace

FileResult copyIfMissing(const DataFolderAccess& folder, const QString& source, const QString& name,
                         bool* taken)
{
    QFile original(source);
    if (!original.open(QIODevice::ReadOnly))
        return FileResult::failure(
            describeFileError(QStringLiteral("copy"), source, original.errorString()));
    // Anything already under the name, a link that leads nowhere included,
    // is left as it is: nothing is written through it.
    return folder.copy(original, name, name + QStringLiteral(".seed"), QStringLiteral("copy"),
                       DataFolderAccess::Existing::Keep, taken);
}

DataFolderLayout chooseDataFolder(const QString& named, const QString& programFolder,
                                  const QString& systemShipped, const QString& perUserFolder)
{
    const QString shipped = holdsShippedData(programFolder) || !holdsShippedData(systemShipped)
                                ? programFolder
                                : QDir::cleanPath(systemShipped);
    if (!named.isEmpty())
        return {DataFolderLayout::Kind::Named, QDir::cleanPath(QDir(named).absolutePath()),
                shipped};
    if (shipped != programFolder && !perUserFolder.isEmpty())
        return {DataFolderLayout::Kind::PerUser, QDir::cleanPath(perUserFolder), shipped};
    // Beside the executable, and also where no shipped data is found at all:
    // start-up then reports the missing files there, as it always has.
    return {DataFolderLayout::Kind::BesideProgram, programFolder, programFolder};
}

DataFolderLayout currentDataFolderLayout()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    return chooseDataFolder(
        qEnvironmentVariable("TINTORA_DATA_DIR"), programFolder,
        QDir(programFolder).filePath(QStringLiteral(TINTORA_SHIPPED_FROM_PROGRAM)),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

FileResult seedDataFolder(const DataFolderLayout& layout)
{
    if (layout.kind != DataFolderLayout::Kind::PerUser)
        return FileResult::success();
    if (!QDir().mkpath(layout.folder))
        return FileResult::failure(
            describeFileError(QStringLiteral("create the folder"), layout.folder, {}));
    const DataFolderAccess folder(layout.folder);
    if (!folder.opened())
        return folder.opened();
    if (folder.status(IndexFile).kind != DataFolderAccess::Kind::Missing)
        return FileResult::success();
    const QDir shipped(layout.shipped);
    QStringList names = shipped.entryList(QDir::Files, QDir::Name);
    names.removeAll(HelpFile);
    names.removeAll(IndexFile);
    names.append(IndexFile);
    for (const QString& name : names) {
        if (FileResult copied = copyIfMissing(folder, shipped.filePath(name), name); !copied)
            return copied;
    }
    return FileResult::success();
}

QString resolveDataFolder()
{
    const DataFolderLayout layout = currentDataFolderLayout();
    // A folder that cannot be seeded lacks its data files, which start-up
    // reports like any other missing file.
    if (const FileResult seeded = seedDataFolder(layout); !seeded)
        std::fprintf(stderr, "tintora: %s\n", qPrintable(seeded.message));
    return layout.folder;
}

QString helpFilePath(const QString& dataFolder)
{
    const QString inDataFolder = dataFolder + QLatin1Char('/') + HelpFile;
    // Only a file of its own: a link in the data folder is never followed.
    if (DataFolderAccess(dataFolder).status(HelpFile).kind == DataFolderAccess::Kind::File)
        return inDataFolder;
    const QString shipped = QDir(currentDataFolderLayout().shipped).filePath(HelpFile);
    if (QFileInfo::exists(shipped))
        return shipped;
    return inDataFolder;
}
