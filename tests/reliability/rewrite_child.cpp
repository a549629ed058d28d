// The child process of the crash-consistency test: runs one rewrite of a data
// file, and can die by SIGKILL at any of the file-system calls it makes.
//
//   tintora_rewrite_child <data folder> <rewrite> [argument]
//
// rewrites: repair-index, delete-entry <position>, delete-colour <record>,
// clear-duplicates (both on "mycolor.rgb"), delete-scheme <list index>;
// undo-delete-colour <record> (the copy kept for undo, the deletion and the
// note after it) and undo-last (undoing the last kept edit); with the
// palette's names: delete-named-colour <record>, clear-named-duplicates,
// clear-all-named (on "mycolor.rgb") and add-named-palette <count> (a new
// palette "c6.rgb" of that many named colours).
//
// It prints "ready", waits for one byte on standard input, runs the rewrite
// and prints "done", the calls that changed files (one letter each: o open for
// writing, w write, t truncate, s sync, r rename, u unlink) and the
// nanoseconds the rewrite took. With TINTORA_KILL_AT=N it kills itself just
// before its N-th such call instead; with TINTORA_KILL_TEARS=1 as well, an
// N-th call that writes first writes half of its bytes. With
// TINTORA_DISK_FULL_AT=N the disk is full from the N-th write on: that write
// stores half of its bytes, and every later one fails with ENOSPC.
//
// The calls are caught by defining the C library's functions in this
// executable, which the dynamic linker prefers for Qt's calls too; each passes
// the call on to the next definition, the C library's (or a sanitizer's).
#include "palettes/NamedEdits.h"
#include "palettes/NewPalette.h"
#include "palettes/PaletteIndex.h"
#include "palettes/PaletteRecords.h"
#include "palettes/PaletteUndo.h"
#include "scheme/SchemeStore.h"

#include <QElapsedTimer>
#include <QString>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

bool g_armed = false;
long g_calls = 0;
long g_killAt = 0;
bool g_tears = false;
long g_diskFullAt = 0;
long g_writes = 0;
std::string g_trace;

template <typename Function> Function next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

enum class Reached { Go, Tear };

// Notes one call that changes a file. Kills the process when it is the call
// asked for, unless the call is to tear its write first.
Reached reach(char kind)
{
    if (!g_armed)
        return Reached::Go;
    ++g_calls;
    g_trace += kind;
    if (g_calls != g_killAt)
        return Reached::Go;
    if (kind == 'w' && g_tears)
        return Reached::Tear;
    raise(SIGKILL);
    return Reached::Go;
}

using OpenFunction = int (*)(const char*, int, ...);

bool takesMode(int flags)
{
    return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
}

// An open that may create or change a file counts; one for reading does not.
int countedOpen(OpenFunction real, const char* path, int flags, mode_t mode)
{
    if ((flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0)
        reach('o');
    return real(path, flags, mode);
}

// How many bytes of a write of `count` a full disk lets through; -1 for none.
ssize_t roomOnDisk(size_t count)
{
    if (!g_armed || g_diskFullAt == 0)
        return ssize_t(count);
    ++g_writes;
    if (g_writes < g_diskFullAt)
        return ssize_t(count);
    if (g_writes == g_diskFullAt && count > 1)
        return ssize_t(count / 2);
    errno = ENOSPC;
    return -1;
}

} // namespace

extern "C" {

ssize_t write(int fd, const void* buffer, size_t count)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    if (reach('w') == Reached::Tear) {
        real(fd, buffer, count / 2);
        raise(SIGKILL);
    }
    const ssize_t room = roomOnDisk(count);
    if (room < 0)
        return -1;
    return real(fd, buffer, size_t(room));
}

ssize_t pwrite64(int fd, const void* buffer, size_t count, off64_t offset)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
    if (reach('w') == Reached::Tear) {
        real(fd, buffer, count / 2, offset);
        raise(SIGKILL);
    }
    const ssize_t room = roomOnDisk(count);
    if (room < 0)
        return -1;
    return real(fd, buffer, size_t(room), offset);
}

ssize_t pwrite(int fd, const void* buffer, size_t count, off_t offset)
{
    return pwrite64(fd, buffer, count, off64_t(offset));
}

int openat64(int folder, const char* path, int flags, ...)
{
    static const auto real = next<int (*)(int, const char*, int, ...)>("openat64");
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = takesMode(flags) ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
    va_end(arguments);
    if ((flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0)
        reach('o');
    return real(folder, path, flags, mode);
}

int openat(int folder, const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = takesMode(flags) ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
    va_end(arguments);
    return openat64(folder, path, flags, mode);
}

int mkdirat(int folder, const char* path, mode_t mode)
{
    static const auto real = next<int (*)(int, const char*, mode_t)>("mkdirat");
    reach('d');
    return real(folder, path, mode);
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to)
{
    static const auto real = next<int (*)(int, const char*, int, const char*)>("renameat");
    reach('r');
    return real(fromFolder, from, toFolder, to);
}

int unlinkat(int folder, const char* path, int flags)
{
    static const auto real = next<int (*)(int, const char*, int)>("unlinkat");
    reach('u');
    return real(folder, path, flags);
}

int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags)
{
    static const auto real = next<int (*)(int, const char*, int, const char*, int)>("linkat");
    reach('l');
    return real(fromFolder, from, toFolder, to, flags);
}

int open64(const char* path, int flags, ...)
{
    static const auto real = next<OpenFunction>("open64");
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = takesMode(flags) ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
    va_end(arguments);
    return countedOpen(real, path, flags, mode);
}

int open(const char* path, int flags, ...)
{
    static const auto real = next<OpenFunction>("open");
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = takesMode(flags) ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
    va_end(arguments);
    return countedOpen(real, path, flags, mode);
}

int ftruncate(int fd, off_t length)
{
    static const auto real = next<int (*)(int, off_t)>("ftruncate");
    reach('t');
    return real(fd, length);
}

int ftruncate64(int fd, off64_t length)
{
    static const auto real = next<int (*)(int, off64_t)>("ftruncate64");
    reach('t');
    return real(fd, length);
}

int fsync(int fd)
{
    static const auto real = next<int (*)(int)>("fsync");
    reach('s');
    return real(fd);
}

int fdatasync(int fd)
{
    static const auto real = next<int (*)(int)>("fdatasync");
    reach('s');
    return real(fd);
}

int rename(const char* from, const char* to)
{
    static const auto real = next<int (*)(const char*, const char*)>("rename");
    reach('r');
    return real(from, to);
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned int flags)
{
    static const auto real =
        next<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
    reach('r');
    return real(fromFolder, from, toFolder, to, flags);
}

int unlink(const char* path)
{
    static const auto real = next<int (*)(const char*)>("unlink");
    reach('u');
    return real(path);
}

} // extern "C"

namespace {

FileResult runRewrite(const QString& folder, const QString& rewrite, const QString& argument)
{
    const QString palette = bascommon::DataFilePath(folder, QStringLiteral("mycolor.rgb"));
    if (rewrite == QLatin1String("repair-index"))
        return paletteindex::Repair(folder);
    if (rewrite == QLatin1String("delete-entry"))
        return paletteindex::DeleteEntry(folder, argument.toInt());
    if (rewrite == QLatin1String("delete-colour"))
        return paletterecords::DeleteRecord(palette, argument.toInt());
    if (rewrite == QLatin1String("clear-duplicates"))
        return paletterecords::ClearDuplicates(palette);
    if (rewrite == QLatin1String("delete-scheme"))
        return SchemeStore(folder).remove(argument.toInt());
    if (rewrite == QLatin1String("undo-delete-colour")) {
        PaletteUndo undo(folder);
        if (FileResult kept = undo.keep(PaletteUndo::Edit::DeleteColor,
                                        {QStringLiteral("mycolor.rgb"), QStringLiteral("My Colors"),
                                         QStringLiteral("0"), 1});
            !kept)
            return kept;
        if (FileResult deleted = paletterecords::DeleteRecord(palette, argument.toInt());
            !deleted) {
            undo.editFailed();
            return deleted;
        }
        undo.editDone();
        return FileResult::success();
    }
    if (rewrite == QLatin1String("undo-last"))
        return PaletteUndo(folder).undoLast();
    const QString paletteFile = QStringLiteral("mycolor.rgb");
    if (rewrite == QLatin1String("delete-named-colour"))
        return namededits::DeleteColor(folder, paletteFile, argument.toInt());
    if (rewrite == QLatin1String("clear-named-duplicates"))
        return namededits::ClearDuplicates(folder, paletteFile);
    if (rewrite == QLatin1String("clear-all-named"))
        return namededits::ClearAll(folder, paletteFile);
    if (rewrite == QLatin1String("add-named-palette")) {
        QList<Color> colors;
        QStringList names;
        for (int i = 1; i <= argument.toInt(); ++i) {
            colors.append(bascommon::MakeColor(i & 255, (i >> 8) & 255, 9));
            names.append(i % 3 == 0 ? QString() : QStringLiteral("added %1").arg(i));
        }
        return newpalette::Add(folder, QStringLiteral("c6.rgb"), QStringLiteral("Added"), colors,
                               names);
    }
    return FileResult::failure(QStringLiteral("unknown rewrite ") + rewrite);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <data folder> <rewrite> [argument]\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString rewrite = QString::fromLocal8Bit(argv[2]);
    const QString argument = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    if (const char* killAt = std::getenv("TINTORA_KILL_AT"))
        g_killAt = std::strtol(killAt, nullptr, 10);
    g_tears = std::getenv("TINTORA_KILL_TEARS") != nullptr;
    if (const char* full = std::getenv("TINTORA_DISK_FULL_AT"))
        g_diskFullAt = std::strtol(full, nullptr, 10);

    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    if (std::fgetc(stdin) == EOF)
        return 3;

    QElapsedTimer clock;
    clock.start();
    g_armed = true;
    const FileResult result = runRewrite(folder, rewrite, argument);
    g_armed = false;
    const qint64 elapsed = clock.nsecsElapsed();

    if (!result.ok) {
        std::fprintf(stdout, "failed %s\n", qPrintable(result.message));
        return 1;
    }
    std::fprintf(stdout, "done %s %lld\n", g_trace.c_str(), static_cast<long long>(elapsed));
    return 0;
}
