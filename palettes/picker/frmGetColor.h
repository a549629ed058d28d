#pragma once

#include "app/platform/ScreenCapture.h"
#include "app/bascommon.h"
#include "palettes/picker/PickSampling.h"
#include "palettes/picker/PickingRun.h"
#include "palettes/picker/frmpick.h"

#include <QPalette>
#include <QPointF>
#include <QPointer>
#include <QWidget>

#include <optional>

class FrozenScreen;
class Platform;
class QFrame;

// The frozen screen: a borderless window over the whole desktop showing the
// picture taken when picking began, so that window coordinates are desktop
// coordinates. shpshow is the swatch that follows the cursor. The window and
// its "Pick&Save Color" companion delete themselves when picking ends.
//
// Where the window system gives clients no desktop positions (Wayland), each
// screen gets a full-screen window of its own: this one covers the first
// screen, a FrozenScreen each further one. Where the desktop hands out no
// picture but offers its own colour picker, there is no frozen screen at
// all: "Pick&Save Color" picks one colour at a time through that picker.
//
// Keys: the arrows move the hot spot by one device pixel of the screen under
// it (with Shift by ten), and the cursor with it; Enter picks as a left click
// does; Escape ends picking.
//
// The picker needs no main window: it saves each picked colour to the chosen
// palette of `dataFolder` itself, and says what was picked and that picking
// ended; whoever started it decides what follows.
class frmGetColor : public QWidget, private PickingRun
{
    Q_OBJECT
public:
    // `readIndex` reads the palette index when "Pick&Save Color" opens; the
    // palettes that take colours are offered in "Save To:", the first one
    // chosen. `owner`, the window picking was started from, may be null: it
    // parents the messages, and "Pick&Save Color" takes its font and opens
    // on its screen. The picker goes when the owner goes.
    frmGetColor(Platform& platform, const QString& dataFolder, PaletteIndexReader readIndex,
                QWidget* owner = nullptr);
    ~frmGetColor() override;

    // Takes the picture and shows both picker windows; when the screen cannot
    // be captured, says so and ends picking at once.
    void Form_Load();

    // One colour and then the end, as a pick started from outside the
    // program's windows asks: the clipboard is left as it is (whoever asked
    // copies the colour in the notation of its choice), continuous picking is
    // off, and the colour goes to the palette of `saveToFile` (empty: the one
    // "Save To:" offers first) or, with `save` false, to none. Before Form_Load.
    void pickOnce(bool save, const QString& saveToFile);

    // Before Form_Load: "Pick&Save Color" is built only once the picture has
    // been painted, for a start with nothing of the program on screen yet,
    // where that window's text (the fonts) would cost more than the picture.
    // Clicks and Enter that come before it are kept and carried out, in
    // their order, as soon as it is there.
    void pickWindowAfterPicture() { m_pickWindowDeferred = true; }

    frmpick* pickWindow() const { return m_pick; }
    bool finished() const override { return m_finished; }
    // The windows of the further screens, where each screen has its own.
    QList<FrozenScreen*> frozenScreens() const;

    // The colour under the cursor at the last mouse move; black when no pixel
    // could be read there.
    Color PickedColor = bascommon::Black;

    QFrame* shpshow = nullptr;

    // The cursor over the picture: an eyedropper whose tip is the hot spot.
    static QCursor eyedropperCursor();

signals:
    // A colour saved to the chosen palette, which is to become the current
    // colour; with continuous picking off, picking ends right after it.
    void colorPicked(Color color);
    // Picking has ended, by a pick, "&Stop", a key or a failure; the picker
    // windows are hidden and about to go.
    void pickingFinished();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

private:
    // The run as the further screens' windows see it.
    const ScreenCapture& picture() const override { return m_picture; }
    QPoint origin() const override { return m_origin; }
    // Pointer and keys over the picture, from this window or a FrozenScreen,
    // in this window's coordinates.
    void pointerMoved(const QPointF& position) override;
    void pointerReleased(Qt::MouseButton button, QPointF position) override;
    bool pictureKeyPress(QKeyEvent* event) override;
    void coverScreensOneByOne();
    void showPickWindow();
    // The deferred "Pick&Save Color", once the picture is on screen.
    void showDeferredPickWindow();
    void showUnderRestingPointer();
    // The desktop's own colour picker, for desktops without a picture.
    void pickThroughDesktop();
    // Puts the swatch beside the cursor, in the window under it.
    void placeSwatch(const QPointF& position);
    void Form_MouseMove(const QPointF& position);
    void Form_MouseUp(Qt::MouseButton button, const QPointF& position);
    // Arrows and Enter, from this window or from "Pick&Save Color"; false for
    // any other key.
    bool pictureKey(int key, Qt::KeyboardModifiers modifiers);
    void moveHotSpot(int dx, int dy);
    // The hot spot in window coordinates: where the last move put it, or
    // where the cursor rests when nothing has moved yet.
    QPointF hotSpot() const;
    void showPickedColor(Color color);
    void averageSizeChanged();
    void savePickedColor();
    void FinishPicking() override;
    void hideSwatch();

    Platform& m_platform;
    QString m_dataFolder;
    PaletteIndexReader m_readIndex;
    QPointer<QWidget> m_owner;
    ScreenCapture m_picture;
    // Desktop coordinates of the window's top-left corner.
    QPoint m_origin;
    frmpick* m_pick = nullptr;
    QList<FrozenScreen*> m_frozenScreens;
    QPointF m_lastMove{-1, -1};
    bool m_moved = false;
    bool m_finished = false;
    bool m_once = false;
    bool m_pickWindowDeferred = false;
    bool m_pickWindowQueued = false;
    // Releases over the picture before "Pick&Save Color" was there.
    QList<QPair<Qt::MouseButton, QPointF>> m_earlyReleases;
    bool m_onceSaves = true;
    QString m_onceTarget;
    // Where the keys last put the cursor, in window coordinates: the move
    // that the window system reports for it is already shown, more exactly
    // than its whole logical pixel can say.
    std::optional<QPoint> m_keyedCursor;
    // The colour that the swatches and fields show, so that a move over the
    // same colour touches none of them.
    std::optional<Color> m_shownColor;
    // shpshow's palette, recoloured in place on each new colour.
    QPalette m_swatchPalette;
    picksampling::LoupePixels m_loupePixels{};
};
