#pragma once

#include "app/FileResult.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

struct chmFile;

// A compiled help file ("tintora.chm", Microsoft's compiled HTML help format)
// read through chmlib. Objects inside are addressed by absolute paths such as
// "/index.html".
class ChmArchive
{
public:
    ChmArchive() = default;
    ~ChmArchive();
    ChmArchive(const ChmArchive&) = delete;
    ChmArchive& operator=(const ChmArchive&) = delete;

    // Succeeds for a file that exists and can be read; otherwise names it and
    // says which of the two it is not.
    static FileResult CheckReadable(const QString& path);

    // Opens `path`, closing what was open before. On failure the archive is
    // closed and the result names the file.
    FileResult open(const QString& path);
    void close();
    bool isOpen() const { return m_file != nullptr; }
    QString path() const { return m_path; }

    // The whole object; nothing when the archive has no such object or it
    // cannot be read.
    std::optional<QByteArray> read(const QString& objectPath) const;
    // The paths of the files in the archive, in its own order.
    QStringList files() const;

    // From the archive's own description: the contents (.hhc) file, the topic
    // shown first and the title. Empty when the archive does not give one; the
    // contents file then is the first .hhc file in the archive.
    QString contentsFile() const { return m_contentsFile; }
    QString defaultTopic() const { return m_defaultTopic; }
    QString title() const { return m_title; }

private:
    void readDescription();

    chmFile* m_file = nullptr;
    QString m_path;
    QString m_contentsFile;
    QString m_defaultTopic;
    QString m_title;
};
