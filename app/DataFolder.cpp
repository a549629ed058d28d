#include "app/DataFolder.h"

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

FileResult copyIfMissing(const QString& source, const QString& target)
{
    if (QFileInfo::exists(target))
        return FileResult::success();
    const QString temporary = target + QStringLiteral(".seed");
    QFile::remove(temporary);
    QFile original(source);
    if (!original.copy(temporary))
        return FileResult::failure(
            describeFileError(QStringLiteral("copy"), target, original.errorString()));
    QFile copy(temporary);
    copy.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    if (!copy.rename(target)) {
        const QString reason = copy.errorString();
        copy.remove();
        return FileResult::failure(describeFileError(QStringLiteral("create"), target, reason));
    }
    return FileResult::success();
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
    QDir folder(layout.folder);
    if (folder.exists(IndexFile))
        return FileResult::success();
    if (!QDir().mkpath(layout.folder))
        return FileResult::failure(
            describeFileError(QStringLiteral("create the folder"), layout.folder, {}));
    const QDir shipped(layout.shipped);
    QStringList names = shipped.entryList(QDir::Files, QDir::Name);
    names.removeAll(HelpFile);
    names.removeAll(IndexFile);
    names.append(IndexFile);
    for (const QString& name : names) {
        if (FileResult copied = copyIfMissing(shipped.filePath(name), folder.filePath(name));
            !copied)
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
    const QString inDataFolder = QDir(dataFolder).filePath(HelpFile);
    if (QFileInfo::exists(inDataFolder))
        return inDataFolder;
    const QString shipped = QDir(currentDataFolderLayout().shipped).filePath(HelpFile);
    return QFileInfo::exists(shipped) ? shipped : inDataFolder;
}
