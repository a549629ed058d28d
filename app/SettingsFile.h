#pragma once

#include <QString>
#include <QVariant>

// The program's settings, kept by QSettings in an INI file in the user's
// configuration folder. QSettings trusts that file: a named pipe in its
// place holds the start for ever, a folder where its lock goes holds every
// write, a value of nested variants (which this program never writes)
// overflows the stack, and millions of keys take gigabytes, read again at
// every access. So the file is looked at first, and a file this program
// would not have written is neither read nor written: the settings are the
// defaults for that run, and the file stays as it is for the user to see.
namespace settingsfile {

// More than the largest settings this program writes (the colour-format
// templates, at most 8 Mi characters).
constexpr qint64 MaxFileBytes = 32LL * 1024 * 1024;
// The program writes a dozen keys.
constexpr qint64 MaxLines = 100'000;

// Where the settings are kept.
QString Path();

// Why the settings file at `path` may not be handed to QSettings; empty when
// it may (a missing file may: it is made on the first write).
QString Problem(const QString& path);

// The stored value of `key`; invalid when there is none or the file may not
// be read. Says once on the standard error why a file is not used.
QVariant Value(const QString& key);
// Stores `value` under `key`; false when the file may not be written.
bool SetValue(const QString& key, const QString& value);

} // namespace settingsfile
