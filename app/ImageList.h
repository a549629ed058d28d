#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

// The pictures of the toolbar buttons, one per button tag. They are drawn as
// vector shapes, so they stay sharp at every size and screen scale.
class ImageList : public QObject
{
    Q_OBJECT
public:
    explicit ImageList(QObject* parent = nullptr);

    // The picture for a toolbar tag; a null icon for an unknown tag.
    QIcon icon(const QString& tag) const;

    // The program's own icon, for the windows: the pictures the desktop entry
    // ships (packaging/icons).
    static QIcon programIcon();

    // Sets the application's style up, before the first window is made, so
    // that showing it reads no picture through Qt's image plugins: Qt reads
    // a picture file of no named format by asking every image plugin of the
    // system whether it knows it, and loading all of them is a good part of
    // the program's start and of its memory. The style draws the arrows of
    // the toolbar's and menu bar's overflow buttons (which a window of fixed
    // size never shows) and finds the pictures it paints with already read;
    // everything else is the desktop's style as it was. Once per application.
    static void prepareStyle();
};
