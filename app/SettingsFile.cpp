#include "app/SettingsFile.h"

#include <QByteArrayMatcher>
#include <QFile>
#include <QMutex>
#include <QSettings>
#include <QStandardPaths>

#include <sys/stat.h>

namespace settingsfile {

namespace {

QString scanned(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {}; // QSettings finds it unreadable too, and keeps the defaults
    static const QByteArrayMatcher variant(QByteArrayLiteral("@Variant("));
    constexpr qint64 Block = 1 << 20;
    // A block overlaps the one before by the pattern's length less one, so
    // that no occurrence falls between two.
    const qsizetype overlap = variant.pattern().size() - 1;
    QByteArray carried;
    qint64 lines = 0;
    while (true) {
        const QByteArray block = file.read(Block);
        if (block.isEmpty())
            break;
        lines += block.count('\n');
        if (lines > MaxLines)
            return QStringLiteral("it has more than %1 lines").arg(MaxLines);
        const QByteArray searched = carried + block;
        if (variant.indexIn(searched) >= 0)
            return QStringLiteral("it holds a kind of value that Tintora does not write");
        carried = searched.right(overlap);
    }
    return {};
}

} // namespace

QString Path()
{
    // Where QSettings keeps an organisation's application on this system;
    // named here so that the file is looked at before QSettings reads it.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/quorvane software/Tintora 3.7.conf");
}

QString Problem(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status;
    if (::stat(name.constData(), &status) == 0) {
        if (!S_ISREG(status.st_mode))
            return QStringLiteral("it is not a plain file");
        if (status.st_size > MaxFileBytes)
            return QStringLiteral("at %1 bytes it is larger than settings can be")
                .arg(status.st_size);
    }
    // QSettings waits for its lock as long as something other than a lock
    // file is in the lock's place.
    const QByteArray lock = QFile::encodeName(path + QStringLiteral(".lock"));
    if (::lstat(lock.constData(), &status) == 0 && !S_ISREG(status.st_mode))
        return QStringLiteral("something other than a file is in the place of its lock, %1.lock")
            .arg(path);
    return scanned(path);
}

namespace {

// Once per file and run, and only while the file stays as it was looked at.
bool usable(const QString& path)
{
    static QMutex mutex;
    static QString lastPath;
    static qint64 lastSize = -1;
    static qint64 lastChange = -1;
    static bool lastUsable = true;
    const QMutexLocker locker(&mutex);
    struct stat status;
    const bool exists = ::stat(QFile::encodeName(path).constData(), &status) == 0;
    const qint64 size = exists ? qint64(status.st_size) : -1;
    const qint64 change =
        exists ? qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec : -1;
    if (path == lastPath && size == lastSize && change == lastChange)
        return lastUsable;
    const QString problem = Problem(path);
    lastPath = path;
    lastSize = size;
    lastChange = change;
    lastUsable = problem.isEmpty();
    // The executable and the windows' module each hold a copy of this code;
    // the environment is the process's own.
    static const char* const Told = "TINTORA_SETTINGS_NOT_USED";
    if (!lastUsable && qEnvironmentVariable(Told) != path) {
        qputenv(Told, QFile::encodeName(path));
        qWarning("tintora: the settings in %s are not used: %s.", qUtf8Printable(path),
                 qUtf8Printable(problem));
    }
    return lastUsable;
}

} // namespace

QVariant Value(const QString& key)
{
    const QString path = Path();
    if (!usable(path))
        return {};
    // The one file alone: no organisation-wide or system-wide files beside it.
    const QSettings settings(path, QSettings::IniFormat);
    return settings.value(key);
}

bool SetValue(const QString& key, const QString& value)
{
    const QString path = Path();
    if (!usable(path))
        return false;
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(key, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace settingsfile
