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
};
