#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QString>
#include <QTest>

// Whole-file helpers for the tests of logic, which link no test library.

// The file's bytes; empty when it cannot be read.
inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Replaces the file (creating its folder) with `content`; fails the test when
// that is not possible.
inline void writeAll(const QString& path, const QByteArray& content)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

// Every file, folder and link under `root` (links not followed) with its
// content, "folder", or where it leads: compared before and after, it shows
// that nothing under `root` was created, changed or removed.
inline QMap<QString, QByteArray> treeSnapshot(const QString& root)
{
    QMap<QString, QByteArray> found;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QString key = QDir(root).relativeFilePath(path);
        if (info.isSymLink())
            found.insert(key, "link to " + QFile::encodeName(info.symLinkTarget()));
        else if (info.isDir())
            found.insert(key, "folder");
        else
            found.insert(key, info.isFile() ? readAll(path) : QByteArray("special"));
    }
    return found;
}
