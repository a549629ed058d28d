#include "app/SafeRewrite.h"

#include "app/DataFileAccess.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

void syncFolderOf(const QString& path)
{
#ifdef Q_OS_UNIX
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(path);
#endif
}

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool allZero(QByteArrayView block)
{
    // Each byte equal to the next and the first zero: memcmp runs at memory speed.
    return block.isEmpty() ||
           (block.front() == 0 &&
            std::memcmp(block.data(), block.data() + 1, std::size_t(block.size() - 1)) == 0);
}

// Removes whatever an interrupted run left under the temporary name: a file
// or a link (the link itself, never what it leads to).
bool removeLeftover(const QString& path, QString& reason)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (info.isDir() && !info.isSymLink()) {
        reason = QStringLiteral("a folder has that name");
        return false;
    }
    QFile leftover(path);
    if (!leftover.remove()) {
        reason = leftover.errorString();
        return false;
    }
    return true;
}

} // namespace

StagedReplacement::StagedReplacement(QString target, QString tempPath, QString action)
    : m_target(std::move(target)), m_tempPath(std::move(tempPath)), m_action(std::move(action))
{
}

StagedReplacement::~StagedReplacement()
{
    if (m_open)
        discard();
}

FileResult StagedReplacement::failure(const QString& reason)
{
    discard();
    return FileResult::failure(describeFileError(m_action, m_target, reason));
}

FileResult StagedReplacement::open()
{
    if (FileResult link = datafiles::RefuseLink(m_target, m_action); !link)
        return link;
    if (QFileInfo(m_target).isDir())
        return FileResult::failure(
            describeFileError(m_action, m_target, QStringLiteral("a folder has that name")));
    const QString tempName = QDir::toNativeSeparators(m_tempPath);
    QString reason;
    if (!removeLeftover(m_tempPath, reason))
        return FileResult::failure(describeFileError(
            m_action, m_target,
            QStringLiteral("its temporary file \"%1\" is in the way: %2").arg(tempName, reason)));
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(m_tempPath).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return FileResult::failure(
            describeFileError(m_action, m_target,
                              QStringLiteral("its temporary file \"%1\" cannot be created: %2")
                                  .arg(tempName, systemReason())));
    m_file.setFileName(m_tempPath);
    if (!m_file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        QFile::remove(m_tempPath);
        return FileResult::failure(describeFileError(m_action, m_target, m_file.errorString()));
    }
#else
    m_file.setFileName(m_tempPath);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return FileResult::failure(
            describeFileError(m_action, m_target,
                              QStringLiteral("its temporary file \"%1\" cannot be created: %2")
                                  .arg(tempName, m_file.errorString())));
#endif
    m_open = true;
    m_size = 0;
    return FileResult::success();
}

FileResult StagedReplacement::write(QByteArrayView block)
{
    if (!m_open)
        return FileResult::failure(describeFileError(m_action, m_target, QString()));
    constexpr qsizetype HoleSize = 4096;
    if (block.size() >= HoleSize && allZero(block)) {
        // Seeking past the end leaves a hole; the size is set at the commit.
        m_size += block.size();
        if (!m_file.seek(m_size))
            return failure(m_file.errorString());
        return FileResult::success();
    }
    if (m_file.write(block.data(), block.size()) != block.size())
        return failure(m_file.errorString());
    m_size += block.size();
    return FileResult::success();
}

FileResult StagedReplacement::commit()
{
    if (!m_open)
        return FileResult::failure(describeFileError(m_action, m_target, QString()));
    if (!m_file.flush())
        return failure(m_file.errorString());
    if (m_file.size() != m_size && !m_file.resize(m_size))
        return failure(m_file.errorString());
#ifdef Q_OS_UNIX
    if (::fsync(m_file.handle()) != 0)
        return failure(systemReason());
#endif
    m_file.close();
    m_open = false;
    // rename(2) replaces the target atomically; QFile::rename refuses to
    // overwrite, and removing the target first would open a moment in which
    // neither file exists.
    if (FileResult link = datafiles::RefuseLink(m_target, m_action); !link) {
        QFile::remove(m_tempPath);
        return link;
    }
    if (std::rename(QFile::encodeName(m_tempPath).constData(),
                    QFile::encodeName(m_target).constData()) != 0) {
        const QString reason = systemReason();
        QFile::remove(m_tempPath);
        return FileResult::failure(describeFileError(m_action, m_target, reason));
    }
    syncFolderOf(m_target);
    return FileResult::success();
}

void StagedReplacement::discard()
{
    if (m_open) {
        m_file.close();
        m_open = false;
        QFile::remove(m_tempPath);
    }
}

FileResult replaceFileContents(const QString& target, const QString& tempPath,
                               const QByteArray& content, const QString& action)
{
    StagedReplacement staged(target, tempPath, action);
    if (FileResult opened = staged.open(); !opened)
        return opened;
    constexpr qsizetype Block = 1 << 20;
    for (qsizetype at = 0; at < content.size(); at += Block)
        if (FileResult written =
                staged.write(QByteArrayView(content).sliced(at, qMin(Block, content.size() - at)));
            !written)
            return written;
    return staged.commit();
}

FileResult writeSyncedFile(const QString& tempPath, const QByteArray& content)
{
    const QString action = QStringLiteral("write");
    QString reason;
    if (!removeLeftover(tempPath, reason))
        return FileResult::failure(describeFileError(action, tempPath, reason));
    QFile file(tempPath);
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(tempPath).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return FileResult::failure(
            describeFileError(QStringLiteral("create"), tempPath, systemReason()));
    if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return FileResult::failure(
            describeFileError(QStringLiteral("create"), tempPath, file.errorString()));
    }
#else
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return FileResult::failure(
            describeFileError(QStringLiteral("create"), tempPath, file.errorString()));
#endif
    if (file.write(content) != content.size() || !file.flush()) {
        const QString why = file.errorString();
        file.close();
        QFile::remove(tempPath);
        return FileResult::failure(describeFileError(action, tempPath, why));
    }
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0) {
        const QString why = systemReason();
        file.close();
        QFile::remove(tempPath);
        return FileResult::failure(describeFileError(action, tempPath, why));
    }
#endif
    file.close();
    return FileResult::success();
}

FileResult renameOver(const QString& tempPath, const QString& target)
{
    const QString action = QStringLiteral("replace");
    if (FileResult link = datafiles::RefuseLink(target, action); !link) {
        QFile::remove(tempPath);
        return link;
    }
    if (std::rename(QFile::encodeName(tempPath).constData(),
                    QFile::encodeName(target).constData()) != 0) {
        const QString reason = systemReason();
        QFile::remove(tempPath);
        return FileResult::failure(describeFileError(action, target, reason));
    }
    syncFolderOf(target);
    return FileResult::success();
}
