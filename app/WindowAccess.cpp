#include "app/WindowAccess.h"

#include "app/ClickableLabel.h"
#include "app/ElidingItemDelegate.h"

#include <QAction>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>

namespace windowaccess {

namespace {

void describe(QWidget* widget, const QString& name, const QString& description)
{
    widget->setAccessibleName(name);
    widget->setAccessibleDescription(description);
}

} // namespace

void SetUp(const Controls& w)
{
    w.mnucontents->setShortcut(QKeySequence(Qt::Key_F1));
    w.mnuExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    w.lblcolor->setColorNamed(QStringLiteral("Current colour %1"));
    w.lblcolor->setAccessibleDescription(w.lblcolor->toolTip());
    describe(w.txtrgb1, QStringLiteral("Current colour, decimal R,G,B"),
             QStringLiteral("Read only."));
    describe(w.txtrgb, QStringLiteral("Current colour, hexadecimal"), QStringLiteral("Read only."));

    const QString decimal =
        QStringLiteral("0 to 255. Enter, or leaving the field, applies the three decimal fields.");
    const QString hex = QStringLiteral(
        "Two hexadecimal digits, 00 to FF. Enter, or leaving the field, applies the three "
        "hexadecimal fields.");
    describe(w.txtr, QStringLiteral("Red, decimal"), decimal);
    describe(w.txtg, QStringLiteral("Green, decimal"), decimal);
    describe(w.txtb, QStringLiteral("Blue, decimal"), decimal);
    describe(w.txtrh, QStringLiteral("Red, hexadecimal"), hex);
    describe(w.txtgh, QStringLiteral("Green, hexadecimal"), hex);
    describe(w.txtbh, QStringLiteral("Blue, hexadecimal"), hex);

    describe(w.cmbChart, QStringLiteral("Color palette"),
             QStringLiteral("The palette on display."));
    describe(w.lstCorset, QStringLiteral("Saved schemes"),
             QStringLiteral("Choosing one shows it in the preview."));
    w.lstCorset->setItemDelegate(new ElidingItemDelegate(w.lstCorset));
    w.lstCorset->setTextElideMode(Qt::ElideRight);
    w.lstCorset->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

} // namespace windowaccess
