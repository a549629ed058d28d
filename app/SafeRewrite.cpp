#include "app/SafeRewrite.h"

#include "app/DataFileAccess.h"
#include "app/DataFolderAccess.h"

#include <QDir>

#include <cerrno>
#include <cstring>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemReason(int error = errno)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool allZero(QByteArrayView block)
{
    // Each byte equal to the next and the first zero: memcmp runs at memory speed.
    return block.isEmpty() ||
           (block.front() == 0 &&
            std::memcmp(block.data(), block.data() + 1, std::size_t(block.size() - 1)) == 0);
}

// Writes all of `data` at `offset`, or says why not. QFile reports a write
// that a filling disk cuts short as a short count without a reason, which
// reached the user as "Unknown error"; the system's reason is what happened.
QString writeAllAt(int fd, const char* data, qint64 size, qint64 offset)
{
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, data, std::size_t(size), off_t(offset));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return systemReason();
        }
        if (written == 0)
            return systemReason(ENOSPC);
        data += written;
        size -= written;
        offset += written;
    }
    return {};
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
    m_folder = std::make_unique<DataFolderAccess>(DataFolderAccess::folderOf(m_target));
    if (m_folder->status(DataFolderAccess::nameOf(m_target)).kind == DataFolderAccess::Kind::Folder)
        return FileResult::failure(
            describeFileError(m_action, m_target, QStringLiteral("a folder has that name")));
    const QString tempName = QDir::toNativeSeparators(m_tempPath);
    int error = 0;
    const int fd = m_folder->createNew(DataFolderAccess::nameOf(m_tempPath), error);
    if (fd < 0)
        return FileResult::failure(describeFileError(
            m_action, m_target,
            error == EISDIR
                ? QStringLiteral("its temporary file \"%1\" is in the way: a folder has that name")
                      .arg(tempName)
                : QStringLiteral("its temporary file \"%1\" cannot be created: %2")
                      .arg(tempName, systemReason(error))));
    m_file.setFileName(m_tempPath);
    if (!m_file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        static_cast<void>(m_folder->removeFile(DataFolderAccess::nameOf(m_tempPath), m_action));
        return FileResult::failure(describeFileError(m_action, m_target, m_file.errorString()));
    }
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
        // Writing past it leaves a hole; the size is set at the commit.
        m_size += block.size();
        return FileResult::success();
    }
    if (const QString reason = writeAllAt(m_file.handle(), block.data(), block.size(), m_size);
        !reason.isEmpty())
        return failure(reason);
    m_size += block.size();
    return FileResult::success();
}

FileResult StagedReplacement::commit()
{
    if (!m_open)
        return FileResult::failure(describeFileError(m_action, m_target, QString()));
    struct stat status;
    if (::fstat(m_file.handle(), &status) != 0)
        return failure(systemReason());
    if (qint64(status.st_size) != m_size && ::ftruncate(m_file.handle(), off_t(m_size)) != 0)
        return failure(systemReason());
    if (::fsync(m_file.handle()) != 0)
        return failure(systemReason());
    m_file.close();
    m_open = false;
    const QString temporary = DataFolderAccess::nameOf(m_tempPath);
    // One rename replaces the target atomically: removing the target first
    // would open a moment in which neither file exists.
    if (FileResult link = datafiles::RefuseLink(m_target, m_action); !link) {
        static_cast<void>(m_folder->removeFile(temporary, m_action));
        return link;
    }
    if (FileResult renamed =
            m_folder->rename(temporary, DataFolderAccess::nameOf(m_target), m_action);
        !renamed) {
        static_cast<void>(m_folder->removeFile(temporary, m_action));
        return renamed;
    }
    return FileResult::success();
}

void StagedReplacement::discard()
{
    if (m_open) {
        m_file.close();
        m_open = false;
        static_cast<void>(m_folder->removeFile(DataFolderAccess::nameOf(m_tempPath), m_action));
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
    const DataFolderAccess folder(DataFolderAccess::folderOf(tempPath));
    const QString name = DataFolderAccess::nameOf(tempPath);
    int error = 0;
    const int fd = folder.createNew(name, error);
    if (fd < 0)
        return FileResult::failure(describeFileError(
            error == EISDIR ? QStringLiteral("write") : QStringLiteral("create"), tempPath,
            error == EISDIR ? QStringLiteral("a folder has that name") : systemReason(error)));
    QString why = writeAllAt(fd, content.constData(), content.size(), 0);
    if (why.isEmpty() && ::fsync(fd) != 0)
        why = systemReason();
    ::close(fd);
    if (!why.isEmpty()) {
        static_cast<void>(folder.removeFile(name, QStringLiteral("write")));
        return FileResult::failure(describeFileError(QStringLiteral("write"), tempPath, why));
    }
    return FileResult::success();
}

FileResult renameOver(const QString& tempPath, const QString& target)
{
    const QString action = QStringLiteral("replace");
    const DataFolderAccess folder(DataFolderAccess::folderOf(target));
    const QString temporary = DataFolderAccess::nameOf(tempPath);
    if (FileResult link = datafiles::RefuseLink(target, action); !link) {
        static_cast<void>(folder.removeFile(temporary, action));
        return link;
    }
    if (FileResult renamed = folder.rename(temporary, DataFolderAccess::nameOf(target), action);
        !renamed) {
        static_cast<void>(folder.removeFile(temporary, action));
        return renamed;
    }
    return FileResult::success();
}
