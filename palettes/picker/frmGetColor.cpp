#include "palettes/picker/frmGetColor.h"

#include <QBitmap>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QSignalBlocker>
#include <QTimer>

#include "app/ClickableLabel.h"
#include "app/platform/Platform.h"
#include "palettes/picker/FrozenScreen.h"
#include "palettes/picker/PickLoupe.h"
#include "palettes/picker/PickSave.h"
#include "palettes/picker/frmpick.h"

#include <cmath>
#include <utility>

using namespace bascommon;

namespace {

constexpr int SwatchSize = 30;
// Where the swatch sits relative to the cursor: right of it and above it.
constexpr int SwatchRight = 15;
constexpr int SwatchUp = 40;
// The longest "Pick&Save Color" waits for the picture's first paint.
constexpr int DeferredPickWindowLatestMs = 250;

const QString PickerMessageTitle = QStringLiteral("Tintora");

QString refusedText()
{
    return QStringLiteral(
        "Picking colors from the screen needs the desktop's screenshot permission or portal, "
        "and the desktop gave no picture of the screen. Allow Tintora to take screenshots in "
        "the desktop's privacy settings, or install the desktop portal (xdg-desktop-portal with "
        "the backend of your desktop). Picking has ended.");
}

} // namespace

QCursor frmGetColor::eyedropperCursor()
{
    // Two colours and a mask, as a classic cursor: black outline, white glass.
    // The tip of the dropper, pointing down to the left, is the hot spot.
    constexpr int HotX = 11;
    constexpr int HotY = 20;
    const QPolygon glass(
        {QPoint(HotX, HotY), QPoint(12, 17), QPoint(19, 10), QPoint(21, 12), QPoint(14, 19)});
    const QPolygon collar({QPoint(17, 9), QPoint(19, 7), QPoint(24, 12), QPoint(22, 14)});
    const QRect bulb(22, 1, 8, 8);

    QBitmap ink(32, 32);
    QBitmap mask(32, 32);
    ink.fill(Qt::color0);
    mask.fill(Qt::color0);
    for (QBitmap* layer : {&ink, &mask}) {
        const bool isMask = layer == &mask;
        QPainter painter(layer);
        painter.setPen(QPen(Qt::color1, 1));
        // The glass is hollow in the ink and solid in the mask, so it shows white.
        painter.setBrush(isMask ? Qt::color1 : Qt::color0);
        painter.drawPolygon(glass);
        painter.setBrush(Qt::color1);
        painter.drawPolygon(collar);
        painter.setPen(QPen(Qt::color1, 3));
        painter.drawLine(22, 10, 25, 7);
        painter.setPen(QPen(Qt::color1, 1));
        painter.drawEllipse(bulb);
    }
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return QCursor(ink, mask, HotX, HotY);
    // Qt's Wayland platform shows no two-colour bitmap cursor (its buffer
    // for one stays empty); the same picture as a colour pixmap it shows.
    const QImage inkImage = ink.toImage();
    const QImage maskImage = mask.toImage();
    QImage picture(32, 32, QImage::Format_ARGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            picture.setPixel(x, y,
                             maskImage.pixelIndex(x, y) == 0  ? qRgba(0, 0, 0, 0)
                             : inkImage.pixelIndex(x, y) != 0 ? qRgb(0, 0, 0)
                                                              : qRgb(255, 255, 255));
    return QCursor(QPixmap::fromImage(picture), HotX, HotY);
}

frmGetColor::frmGetColor(Platform& platform, const QString& dataFolder,
                         PaletteIndexReader readIndex, QWidget* owner)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_platform(platform),
      m_dataFolder(dataFolder), m_readIndex(std::move(readIndex)), m_owner(owner)
{
    setObjectName(QStringLiteral("frmGetColor"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(eyedropperCursor());
    // The picking keys go to the picture.
    setFocusPolicy(Qt::StrongFocus);

    shpshow = new QFrame(this);
    shpshow->setObjectName(QStringLiteral("shpshow"));
    shpshow->setFrameStyle(QFrame::Box | QFrame::Plain);
    shpshow->setLineWidth(1);
    shpshow->setAutoFillBackground(true);
    shpshow->setFixedSize(SwatchSize, SwatchSize);
    // The cursor can catch up with the swatch; the picture beneath still counts.
    shpshow->setAttribute(Qt::WA_TransparentForMouseEvents);
    shpshow->hide();
    m_swatchPalette = shpshow->palette();

    // The owner's services (the platform, the index reader) serve picking;
    // the picker must not outlive it.
    if (owner)
        connect(owner, &QObject::destroyed, this, [this] { delete this; });
}

frmGetColor::~frmGetColor()
{
    qDeleteAll(m_frozenScreens);
}

QList<FrozenScreen*> frmGetColor::frozenScreens() const
{
    return m_frozenScreens;
}

void frmGetColor::Form_Load()
{
    shpshow->hide();
    QCoreApplication::processEvents();
    Platform& platform = m_platform;
    if (!m_once)
        platform.clearClipboard();
    m_picture = platform.captureScreen();
    switch (m_picture.outcome()) {
    case ScreenCapture::Outcome::Captured:
        break;
    case ScreenCapture::Outcome::Cancelled:
        // The user said no in the desktop's own dialog: nothing to explain.
        FinishPicking();
        return;
    case ScreenCapture::Outcome::ColorPickerOnly:
        showPickWindow();
        m_pick->showPickerOnly();
        return;
    case ScreenCapture::Outcome::Refused:
        FinishPicking();
        platform.showMessage(m_owner, refusedText(), Platform::Buttons::Ok, Platform::Icon::Warning,
                             PickerMessageTitle);
        return;
    case ScreenCapture::Outcome::NotCaptured:
        // A black picture would save black for every click: better to say so.
        FinishPicking();
        platform.showMessage(m_owner,
                             QStringLiteral("The screen could not be captured, so there is no "
                                            "picture to pick a color from. Picking has ended."),
                             Platform::Buttons::Ok, Platform::Icon::Warning, PickerMessageTitle);
        return;
    }

    if (platform.placesWindowsOnDesktop()) {
        const QRect desktop = m_picture.desktopGeometry();
        m_origin = desktop.topLeft();
        setGeometry(desktop);
        show();
    } else {
        coverScreensOneByOne();
    }
    if (m_pickWindowDeferred) {
        // Normally the first paint brings it; this is for a window system
        // that is slow to expose the picture, or never does.
        QTimer::singleShot(DeferredPickWindowLatestMs, this, &frmGetColor::showDeferredPickWindow);
    } else {
        showPickWindow();
    }
    // The keys act on the picture from the start, not on the first control
    // of "Pick&Save Color", whose arrows would change the target palette.
    activateWindow();
    setFocus();
    showUnderRestingPointer();
}

void frmGetColor::showDeferredPickWindow()
{
    if (m_finished || m_pick)
        return;
    showPickWindow();
    activateWindow();
    setFocus();
    // The new window shows the colour under the hot spot, read again with
    // its choice of average; the swatch goes where the window now covers the
    // cursor, as a move onto it would hide it.
    if (m_moved) {
        m_shownColor.reset();
        Form_MouseMove(m_lastMove);
        if (m_pick->frameGeometry().contains(QCursor::pos()))
            hideSwatch();
    }
    const QList<QPair<Qt::MouseButton, QPointF>> early = std::exchange(m_earlyReleases, {});
    for (const auto& [button, position] : early)
        Form_MouseUp(button, position);
}

void frmGetColor::pickOnce(bool save, const QString& saveToFile)
{
    m_once = true;
    m_onceSaves = save;
    m_onceTarget = saveToFile;
}

void frmGetColor::showUnderRestingPointer()
{
    // A pointer that rests where picking began sends no move: the swatches,
    // the loupe and the fields show at once what Enter or a click would pick.
    const QPoint pointer = QCursor::pos();
    const QPointF position = QPointF(pointer - m_origin);
    if (m_moved || !m_picture.devicePixelAt(position + QPointF(m_origin)))
        return;
    Form_MouseMove(position);
    if (m_pick && m_pick->frameGeometry().contains(pointer))
        hideSwatch();
}

void frmGetColor::coverScreensOneByOne()
{
    const QList<ScreenCapture::Screen>& screens = m_picture.screens();
    m_origin = screens.constFirst().geometry.topLeft();
    FrozenScreen::coverScreen(this, screens.constFirst().geometry);
    for (qsizetype i = 1; i < screens.size(); ++i) {
        auto* window = new FrozenScreen(*this, screens.at(i).geometry);
        window->setCursor(eyedropperCursor());
        m_frozenScreens.append(window);
        FrozenScreen::coverScreen(window, screens.at(i).geometry);
    }
}

void frmGetColor::showPickWindow()
{
    // A child of the capture window: where "always on top" means nothing
    // (Wayland), the desktop still keeps it above its parent.
    auto* pick = new frmpick(m_platform, m_readIndex, m_owner, this);
    connect(pick, &frmpick::stopRequested, this, &frmGetColor::FinishPicking);
    connect(pick, &frmpick::pointerEntered, this, &frmGetColor::hideSwatch);
    connect(pick, &frmpick::pictureKey, this, &frmGetColor::pictureKey);
    connect(pick, &frmpick::averageSizeChanged, this, &frmGetColor::averageSizeChanged);
    connect(pick, &frmpick::pickRequested, this, &frmGetColor::pickThroughDesktop);
    if (m_once) {
        // The stored choice of continuous picking stays the Pick&Save window's own.
        const QSignalBlocker quiet(pick->Check1);
        pick->Check1->setChecked(false);
        pick->Check1->setEnabled(false);
        // The command says what is copied, and in which notation; the window's
        // own choice would show one that this pick does not follow.
        const QSignalBlocker quietCopy(pick->chkCopyPick);
        pick->chkCopyPick->setChecked(false);
        pick->chkCopyPick->setEnabled(false);
        pick->cmbCopyFormat->setEnabled(false);
        if (!m_onceSaves)
            pick->cmbSaveTo->setEnabled(false);
        else if (const qsizetype target = pick->SaveToFiles.indexOf(m_onceTarget);
                 !m_onceTarget.isEmpty() && target >= 0)
            pick->cmbSaveTo->setCurrentIndex(int(target));
    }
    m_pick = pick;
    m_pick->show();
}

void frmGetColor::pickThroughDesktop()
{
    if (m_finished || !m_pick)
        return;
    const ScreenColorPick pick = m_platform.pickScreenColor();
    switch (pick.outcome) {
    case ScreenColorPick::Outcome::Picked:
        PickedColor = pick.color;
        showPickedColor(pick.color);
        savePickedColor();
        return;
    case ScreenColorPick::Outcome::Cancelled:
        // Dismissed in the desktop's picker: the user may pick again or stop.
        return;
    case ScreenColorPick::Outcome::Failed:
        FinishPicking();
        m_platform.showMessage(m_owner, refusedText(), Platform::Buttons::Ok,
                               Platform::Icon::Warning, PickerMessageTitle);
        return;
    }
}

void frmGetColor::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    FrozenScreen::paintPicture(painter, m_picture, m_origin, event->rect());
    if (m_pickWindowDeferred && !m_pickWindowQueued) {
        m_pickWindowQueued = true;
        // After this paint has reached the screen.
        QTimer::singleShot(0, this, &frmGetColor::showDeferredPickWindow);
    }
}

// The event's window position keeps the fraction of a logical pixel that its
// local position rounds away: at a device pixel ratio above 1 it tells which
// device pixel lies under the hot spot. This window is its own top level, so
// both are in the same coordinates.
void frmGetColor::mouseMoveEvent(QMouseEvent* event)
{
    pointerMoved(event->scenePosition());
}

void frmGetColor::pointerMoved(const QPointF& position)
{
    if (m_keyedCursor && position == QPointF(*m_keyedCursor))
        return;
    m_keyedCursor.reset();
    Form_MouseMove(position);
}

void frmGetColor::Form_MouseMove(const QPointF& position)
{
    if (m_finished)
        return;
    m_lastMove = position;
    m_moved = true;
    placeSwatch(position);

    // The frozen picture, not the live screen: the device pixel under the
    // hot spot, or the mean of the square around it.
    const std::optional<ScreenCapture::DevicePixel> at =
        m_picture.devicePixelAt(position + QPointF(m_origin));
    if (!at) {
        PickedColor = Black;
        if (m_pick)
            m_pick->picLoupe->showNothing();
    } else {
        const QImage& image = m_picture.screens().at(at->screen).image;
        PickedColor = picksampling::Average(image, at->pixel, m_pick ? m_pick->averageSize() : 1);
        if (m_pick) {
            picksampling::ReadLoupe(image, at->pixel, m_loupePixels);
            m_pick->picLoupe->showPixels(m_loupePixels);
        }
    }
    showPickedColor(PickedColor);
}

void frmGetColor::placeSwatch(const QPointF& position)
{
    QWidget* window = this;
    QPoint windowOrigin = m_origin;
    const QPoint desktopPoint = position.toPoint() + m_origin;
    for (FrozenScreen* screen : std::as_const(m_frozenScreens)) {
        if (screen->desktopArea().contains(desktopPoint)) {
            window = screen;
            windowOrigin = screen->desktopArea().topLeft();
        }
    }
    if (shpshow->parentWidget() != window)
        shpshow->setParent(window);
    shpshow->move(desktopPoint - windowOrigin + QPoint(SwatchRight, -SwatchUp));
    shpshow->show();
}

void frmGetColor::showPickedColor(Color color)
{
    // Most moves cross areas of one colour; the swatches and the fields are
    // the whole cost of a move, so they are left alone when nothing changed.
    if (m_shownColor == color)
        return;
    m_shownColor = color;
    m_swatchPalette.setColor(QPalette::Window, toQColor(color));
    shpshow->setPalette(m_swatchPalette);
    if (m_pick)
        m_pick->showColor(color);
}

void frmGetColor::averageSizeChanged()
{
    if (m_moved)
        Form_MouseMove(m_lastMove);
}

void frmGetColor::mouseReleaseEvent(QMouseEvent* event)
{
    pointerReleased(event->button(), event->scenePosition());
}

void frmGetColor::pointerReleased(Qt::MouseButton button, QPointF position)
{
    // A click where the keys put the cursor picks what the keys chose.
    if (m_keyedCursor && position == QPointF(*m_keyedCursor))
        position = m_lastMove;
    Form_MouseUp(button, position);
}

void frmGetColor::enterEvent(QEnterEvent* event)
{
    // Back from "Pick&Save Color": the keys act on the picture again.
    if (!m_finished && !isActiveWindow())
        activateWindow();
    QWidget::enterEvent(event);
}

QPointF frmGetColor::hotSpot() const
{
    return m_moved ? m_lastMove : QPointF(QCursor::pos() - m_origin);
}

bool frmGetColor::pictureKey(int key, Qt::KeyboardModifiers modifiers)
{
    // Without a picture the keys have nothing to move over.
    if (m_finished || m_picture.isNull())
        return false;
    const Qt::KeyboardModifiers plain = modifiers & ~Qt::KeypadModifier;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (plain != Qt::NoModifier)
            return false;
        Form_MouseUp(Qt::LeftButton, hotSpot());
        return true;
    }
    if (plain != Qt::NoModifier && plain != Qt::ShiftModifier)
        return false;
    const int step = plain == Qt::ShiftModifier ? 10 : 1;
    switch (key) {
    case Qt::Key_Left:
        moveHotSpot(-step, 0);
        return true;
    case Qt::Key_Right:
        moveHotSpot(step, 0);
        return true;
    case Qt::Key_Up:
        moveHotSpot(0, -step);
        return true;
    case Qt::Key_Down:
        moveHotSpot(0, step);
        return true;
    default:
        return false;
    }
}

void frmGetColor::moveHotSpot(int dx, int dy)
{
    const QPointF from = hotSpot();
    QPointF to = from + QPointF(dx, dy);
    // Steps of device pixels, within the screen under the hot spot: at a
    // ratio above 1 the keys reach pixels that no whole cursor position does.
    if (std::optional<ScreenCapture::DevicePixel> at =
            m_picture.devicePixelAt(from + QPointF(m_origin))) {
        const QImage& image = m_picture.screens().at(at->screen).image;
        at->pixel = QPoint(qBound(0, at->pixel.x() + dx, image.width() - 1),
                           qBound(0, at->pixel.y() + dy, image.height() - 1));
        to = m_picture.desktopCentreOf(*at) - QPointF(m_origin);
    } else {
        const QRectF area(rect());
        to = QPointF(qBound(area.left(), to.x(), area.right() - 1),
                     qBound(area.top(), to.y(), area.bottom() - 1));
    }
    Form_MouseMove(to);
    // The cursor goes to the whole logical pixel that holds the hot spot.
    const QPoint cursor(int(std::floor(to.x())), int(std::floor(to.y())));
    m_keyedCursor = cursor;
    m_platform.moveCursor(cursor + m_origin);
}

void frmGetColor::Form_MouseUp(Qt::MouseButton button, const QPointF& position)
{
    if (m_finished)
        return;
    // Until the "Pick&Save Color" window is up there is no target to save
    // to: a window that comes later carries the release out then.
    if (!m_pick) {
        if (m_pickWindowDeferred)
            m_earlyReleases.append({button, position});
        return;
    }
    if (button == Qt::LeftButton) {
        // A click that no movement led to (the cursor rested where picking
        // began) picks what is under it, not black.
        if (!m_moved || position != m_lastMove)
            Form_MouseMove(position);
        savePickedColor();
    } else if (button == Qt::RightButton || button == Qt::MiddleButton) {
        FinishPicking();
    }
}

void frmGetColor::savePickedColor()
{
    const FileResult saved =
        m_once && !m_onceSaves
            ? FileResult::success()
            : picksave::SavePickedColor(m_dataFolder, m_pick->SaveToFile, PickedColor);
    if (!saved) {
        // Every further click would fail the same way.
        FinishPicking();
        m_platform.showMessage(m_owner, saved.message, Platform::Buttons::Ok,
                               Platform::Icon::Critical, PickerMessageTitle);
        return;
    }
    // A pick for a command copies as the command says, not as the window's choice.
    if (!m_once)
        if (const std::optional<QString> text = m_pick->copyText(PickedColor))
            m_platform.setClipboardText(*text);
    emit colorPicked(PickedColor);
    if (m_pick->continuous() && !m_once)
        return;
    FinishPicking();
}

void frmGetColor::hideSwatch()
{
    shpshow->hide();
}

void frmGetColor::keyPressEvent(QKeyEvent* event)
{
    if (!pictureKeyPress(event))
        QWidget::keyPressEvent(event);
}

bool frmGetColor::pictureKeyPress(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        FinishPicking();
        return true;
    }
    return pictureKey(event->key(), event->modifiers());
}

void frmGetColor::closeEvent(QCloseEvent* event)
{
    // However the window goes, the main window must come back.
    event->accept();
    FinishPicking();
}

void frmGetColor::FinishPicking()
{
    if (m_finished)
        return;
    m_finished = true;
    // Hidden rather than closed: closing the last visible window would end
    // the program before the main window is back.
    if (m_pick)
        m_pick->hide();
    hide();
    // The swatch may sit in a further screen's window, which goes now.
    shpshow->hide();
    shpshow->setParent(this);
    for (FrozenScreen* screen : std::as_const(m_frozenScreens)) {
        screen->hide();
        screen->deleteLater();
    }
    m_frozenScreens.clear();
    m_picture = ScreenCapture();
    deleteLater();
    emit pickingFinished();
}
