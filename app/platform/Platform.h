#pragma once

#include "app/platform/ScreenCapture.h"
#include "app/InstanceMessage.h"
#include "app/bascommon.h"

#include <QImage>
#include <QPoint>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

// Every effect outside the process goes through this interface: the windows
// receive it by reference, QtPlatform carries the effects out, and the tests'
// FakePlatform records them and answers from a script.
class Platform
{
public:
    enum class Buttons { Ok, YesNo };
    enum class Icon { Information, Warning, Critical, Question };
    enum class Answer { Ok, Yes, No };
    enum class ShowMode { Normal, Show, Maximized };

    virtual ~Platform() = default;

    // Per-user settings under "quorvane software" / "Tintora 3.7". A key never
    // written yields `defaultValue`.
    virtual QString readSetting(const QString& key, const QString& defaultValue) = 0;
    virtual void writeSetting(const QString& key, const QString& value) = 0;

    virtual void clearClipboard() = 0;
    // Afterwards the clipboard holds exactly this plain text.
    virtual void setClipboardText(const QString& text) = 0;
    // The clipboard's plain text; empty when it holds none.
    virtual QString clipboardText() = 0;
    // The clipboard's picture; null when it holds none.
    virtual QImage clipboardImage() { return {}; }

    // Modal message box; `text` and `title` are shown as plain text.
    virtual Answer showMessage(QWidget* parent, const QString& text, Buttons buttons, Icon icon,
                               const QString& title) = 0;

    // Modal colour dialog starting on `initial` with its custom-colour part
    // open. Cancelling yields `initial`.
    virtual Color chooseColor(QWidget* parent, Color initial) = 0;

    // Modal file-save dialog that asks before overwriting. Empty when the user
    // chose no file. Without a title the dialog has the platform's own.
    virtual QString chooseSaveFile(QWidget* parent, const QString& proposedName,
                                   const QString& defaultSuffix, const QString& filter,
                                   const QString& title = QString()) = 0;

    // Modal file-open dialog for one existing file. Empty when the user chose
    // no file.
    virtual QString chooseOpenFile(QWidget* parent, const QString& filter,
                                   const QString& title = QString()) = 0;

    // Hands a file or address to the desktop; neither waited for nor checked.
    virtual void shellOpen(QWidget* owner, const QString& verb, const QString& target,
                           ShowMode mode) = 0;

    // Hands a file to the desktop as shellOpen does, and says whether it was
    // taken: false when no program is registered for the file's type or none
    // could be started, so that the caller can show the file itself.
    virtual bool shellOpenFile(QWidget* owner, const QString& verb, const QString& file,
                               ShowMode mode) = 0;

    // Asked once, at start-up.
    virtual bool anotherInstanceRunning() = 0;

    // Keeps `window` above all windows that are not themselves kept on top, or
    // returns it to the normal band.
    virtual void setTopmost(QWidget* window, bool topmost) = 0;

    // A still picture of every screen; null when the screen cannot be
    // captured (as on some Wayland sessions).
    virtual ScreenCapture captureScreen() = 0;

    // Puts the mouse cursor at a desktop position. The window system may
    // refuse (as Wayland does); the picker does not rely on it.
    virtual void moveCursor(const QPoint& desktopPosition) = 0;

    // Whether a window can be put at a desktop position. Wayland gives
    // clients no global positions: there each screen needs a full-screen
    // window of its own.
    virtual bool placesWindowsOnDesktop() { return true; }

    // One colour from the desktop's own colour picker, for desktops that
    // hand out no picture of the screen (ScreenCapture::Outcome::ColorPickerOnly).
    // Without one, nothing is picked.
    virtual ScreenColorPick pickScreenColor() { return {}; }

    // After anotherInstanceRunning() said no: a later start on the same data
    // brings `window` to the front instead of opening one of its own.
    virtual void bringToFrontOnSecondStart(QWidget* window) = 0;

    // What a later start asks of the running instance (a pick, files to
    // open), and how the instance answers it: once, whenever it is done.
    using SecondStartAnswer = std::function<void(const instancemessage::Reply&)>;
    using SecondStartHandler =
        std::function<void(const instancemessage::Request&, SecondStartAnswer)>;

    struct HandOver
    {
        bool anotherInstance = false;
        // The running instance's answer; nothing when it gave none.
        std::optional<instancemessage::Reply> reply;
    };

    // Asked once at start-up in place of anotherInstanceRunning() by a start
    // that asks for more than the window: where another instance runs on the
    // same data, hands it `request` and waits for its answer however long it
    // takes (a pick waits for the user).
    virtual HandOver handToRunningInstance(const instancemessage::Request& request)
    {
        Q_UNUSED(request);
        return {anotherInstanceRunning(), std::nullopt};
    }

    // After anotherInstanceRunning() or handToRunningInstance() said no: the
    // requests of later starts other than showing the window go to `handler`.
    virtual void handleSecondStartRequests(SecondStartHandler handler) { Q_UNUSED(handler); }

    // chooseSaveFile for a choice of formats: `chosenFilter` receives the entry
    // of `filter` that was chosen when the user saved, which tells formats
    // that share an extension apart. A platform without that knowledge leaves
    // it empty.
    virtual QString chooseSaveFileOfType(QWidget* parent, const QString& proposedName,
                                         const QString& defaultSuffix, const QString& filter,
                                         const QString& title, QString& chosenFilter)
    {
        chosenFilter.clear();
        return chooseSaveFile(parent, proposedName, defaultSuffix, filter, title);
    }
};
