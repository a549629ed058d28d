#pragma once

#include <QImage>
#include <QTextBrowser>

class ChmArchive;

// Shows the pages of a compiled help file. Pages, style sheets and pictures
// come from the archive under URLs of the scheme "chm" ("chm:/index.html"),
// so that relative links between pages resolve as they would on disk; nothing
// outside the archive is ever loaded.
class HelpBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    explicit HelpBrowser(const ChmArchive& archive, QWidget* parent = nullptr);

    static QString Scheme(); // "chm"
    static QUrl TopicUrl(const QString& objectPath);

    // Every resource of every type and address comes from the archive; what
    // the archive does not hold, or holds beyond the bounds of HelpPage.h, is
    // an empty one (a page saying why, a blank picture).
    QVariant loadResource(int type, const QUrl& name) override;

private:
    static QImage placeholderImage();
    static QImage boundedImage(const QByteArray& content);

    const ChmArchive& m_archive;
    QUrl m_page;
};
