#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A data folder of its own for one test case, optionally filled with copies of
// the shipped data files. The shipped files themselves are never touched.
class TestDataFolder
{
public:
    enum class Contents { Shipped, Empty };

    explicit TestDataFolder(Contents contents = Contents::Shipped);

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const;
    bool exists(const QString& name) const;
    QByteArray read(const QString& name) const;
    void write(const QString& name, const QByteArray& content) const;
    void remove(const QString& name) const;

    // The shipped copy of a data file, read from the source tree.
    static QByteArray shipped(const QString& name);

private:
    QTemporaryDir m_dir;
};

// Palette records for a list of #RRGGBB or RRGGBB texts, in file order.
QByteArray paletteRecords(const QStringList& colors);
