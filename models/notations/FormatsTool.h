#pragma once

#include "app/bascommon.h"
#include "models/notations/FormatChoices.h"
#include "scheme/SchemeColors.h"

#include <QObject>
#include <QPointer>
#include <QSet>

#include <functional>

class Platform;
class QAction;
class QMenu;
class QShortcut;
class QWidget;
class frmFormats;

// Today's notations in the main window: Edit > "Paste Color", text dropped
// on the swatch, the "More Formats" submenus of the Edit menu and of the
// swatch's pop-up (the same menu, shown with the swatch-only items), and
// the Tool menu's "Color Formats" window. A colour read from text is handed
// back through colorChosen; the main window turns it into its current colour.
class FormatsTool : public QObject
{
    Q_OBJECT
public:
    struct Places
    {
        QMenu* editMenu = nullptr;
        QMenu* toolMenu = nullptr;
        // An item that shows only while the Edit menu is the swatch's pop-up.
        QAction* swatchOnlyItem = nullptr;
        QWidget* swatch = nullptr;
        QWidget* window = nullptr; // parent of the messages and of frmFormats
    };

    FormatsTool(Platform& platform, QString dataFolder, const Places& places,
                std::function<SchemeColors()> scheme, Color current);

    QAction* mnuPasteColor = nullptr;
    QAction* mnuFormats = nullptr;    // Tool > "Color Formats"
    QMenu* mnuMoreFormats = nullptr;  // in the Edit menu of the menu bar
    QMenu* mnuMoreFormats2 = nullptr; // in the swatch's pop-up

    frmFormats* formatsWindow() const;

    // Reads a colour from text; a text that is no colour is reported in one
    // message, and nothing changes. Returns whether a colour was handed on.
    bool takeText(const QString& text, const QString& title);

    // The paste shortcut on a control that takes no typing (a read-only field,
    // the swatch, a palette cell) runs "Paste Color", where users try it.
    void pasteOn(QWidget* control);

public slots:
    void setCurrentColor(Color color);
    void schemeChanged();

signals:
    void colorChosen(Color color);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void mnuPasteColor_Click();
    void mnuFormats_Click();
    void rebuildMenus();
    void fillMenu(QMenu* menu);
    void refreshCaptions(QMenu* menu);
    void copyText(const QString& text);

    Platform& m_platform;
    QString m_dataFolder;
    Places m_places;
    std::function<SchemeColors()> m_scheme;
    Color m_color;
    FormatChoices m_choices;
    QPointer<frmFormats> m_window;
    // Enabled only while the focus is on one of m_pasteTargets, so that every
    // other control keeps the paste key to itself.
    QShortcut* m_pasteShortcut = nullptr;
    QSet<const QWidget*> m_pasteTargets;
};
