#include "app/help/HelpBrowser.h"

#include "app/help/ChmArchive.h"
#include "app/help/HelpPage.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPalette>
#include <QTextDocument>

HelpBrowser::HelpBrowser(const ChmArchive& archive, QWidget* parent)
    : QTextBrowser(parent), m_archive(archive)
{
    // Links are followed by the help window, which hands other addresses to
    // the desktop.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    // The pages are written for a white page, as a help viewer shows them; under
    // a dark desktop theme the parts that the page's style does not colour
    // (list bullets, table rules) would otherwise vanish into it.
    // The palette is the class's, set once for the whole program, rather than
    // each browser's own: the style keeps what it draws (the scroll bars) in
    // the application's pixmap cache by palette, and a palette of each
    // window's own left a new set there with every help window opened.
    QPalette page = QApplication::palette();
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        page.setColor(group, QPalette::Base, Qt::white);
        page.setColor(group, QPalette::Text, QColor(0x22, 0x22, 0x22));
        page.setColor(group, QPalette::Link, QColor(0x1d, 0x4e, 0xd8));
        page.setColor(group, QPalette::LinkVisited, QColor(0x6b, 0x21, 0xa8));
    }
    // Without roles of its own to resolve, every browser, and the scroll bars
    // within it, take that one palette as it is.
    page.setResolveMask(0);
    const char* const property = "tintoraHelpPagePalette";
    if (qApp->property(property).value<QPalette>() != page) {
        qApp->setProperty(property, QVariant::fromValue(page));
        QApplication::setPalette(page, staticMetaObject.className());
    }
}

QString HelpBrowser::Scheme()
{
    return QStringLiteral("chm");
}

QUrl HelpBrowser::TopicUrl(const QString& objectPath)
{
    QUrl url;
    url.setScheme(Scheme());
    const qsizetype fragment = objectPath.indexOf(QLatin1Char('#'));
    url.setPath(fragment < 0 ? objectPath : objectPath.left(fragment));
    if (fragment >= 0)
        url.setFragment(objectPath.mid(fragment + 1));
    return url;
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name)
{
    // A page's style sheet and pictures load while its HTML is being laid out,
    // before source() names the new page: they resolve against the page
    // whose HTML was asked for last.
    if (type == QTextDocument::HtmlResource && !name.isRelative())
        m_page = name;
    const QUrl url = name.isRelative() ? m_page.resolved(name) : name;
    const std::optional<QByteArray> content =
        url.scheme() == Scheme() ? m_archive.read(url.path()) : std::nullopt;
    // Whatever is not in the archive gets an empty resource, never nothing:
    // given nothing, QTextDocument opens the address itself as a local file,
    // and the picture handler loads the bare name from the disk.
    if (type == QTextDocument::ImageResource)
        return content ? boundedImage(*content) : placeholderImage();
    if (!content)
        return QByteArray("");
    if (type == QTextDocument::HtmlResource || type == QTextDocument::MarkdownResource) {
        if (const QString problem = helppage::PageProblem(*content); !problem.isEmpty())
            return helppage::RefusalPage(problem);
    } else if (content->size() > helppage::MaxPageBytes) {
        return QByteArray("");
    }
    return *content;
}

QImage HelpBrowser::placeholderImage()
{
    QImage blank(1, 1, QImage::Format_ARGB32);
    blank.fill(Qt::transparent);
    return blank;
}

QImage HelpBrowser::boundedImage(const QByteArray& content)
{
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The header's size is checked before anything is decoded: a small file
    // can claim a picture of gigabytes.
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > helppage::MaxImagePixels)
        return placeholderImage();
    QImage image = reader.read();
    return image.isNull() ? placeholderImage() : image;
}
