#include "tests/support/TestData.h"

#include <QDir>
#include <QFile>
#include <QTest>

TestDataFolder::TestDataFolder(Contents contents)
{
    if (!m_dir.isValid())
        qFatal("cannot create a temporary data folder");
    if (contents == Contents::Empty)
        return;
    const QDir source(QStringLiteral(TINTORA_SOURCE_DATA_DIR));
    const QStringList patterns = {QStringLiteral("*.cci"), QStringLiteral("*.rgb"),
                                  QStringLiteral("*.hcs"), QStringLiteral("*.dat"),
                                  QStringLiteral("*.chm")};
    for (const QString& name : source.entryList(patterns, QDir::Files)) {
        const QString target = filePath(name);
        QFile::copy(source.filePath(name), target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    }
}

QString TestDataFolder::filePath(const QString& name) const
{
    return m_dir.filePath(name);
}

bool TestDataFolder::exists(const QString& name) const
{
    return QFile::exists(filePath(name));
}

QByteArray TestDataFolder::read(const QString& name) const
{
    QFile file(filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void TestDataFolder::write(const QString& name, const QByteArray& content) const
{
    QFile file(filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write a test data file");
    file.write(content);
}

void TestDataFolder::remove(const QString& name) const
{
    QFile::remove(filePath(name));
}

QByteArray TestDataFolder::shipped(const QString& name)
{
    QFile file(QDir(QStringLiteral(TINTORA_SOURCE_DATA_DIR)).filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QByteArray paletteRecords(const QStringList& colors)
{
    QByteArray records;
    for (QString color : colors) {
        if (color.startsWith(QLatin1Char('#')))
            color.remove(0, 1);
        records += color.toLatin1();
    }
    return records;
}
