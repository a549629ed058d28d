#include "palettes/picker/FrozenScreen.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "app/platform/ScreenCapture.h"
#include "palettes/picker/PickingRun.h"

FrozenScreen::FrozenScreen(PickingRun& run, const QRect& desktopArea)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_picker(run), m_area(desktopArea)
{
    setObjectName(QStringLiteral("frozenScreen"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void FrozenScreen::paintPicture(QPainter& painter, const ScreenCapture& picture,
                                const QPoint& origin, const QRect& dirty)
{
    // Gaps between screens of different sizes belong to no screen.
    painter.fillRect(dirty, Qt::black);
    for (const ScreenCapture::Screen& screen : picture.screens()) {
        const QRect target = screen.geometry.translated(-origin);
        const QRect area = target.intersected(dirty);
        if (area.isEmpty())
            continue;
        const QRectF source((area.x() - target.x()) * screen.ratio.x(),
                            (area.y() - target.y()) * screen.ratio.y(),
                            area.width() * screen.ratio.x(), area.height() * screen.ratio.y());
        painter.drawImage(QRectF(area), screen.image, source);
    }
}

void FrozenScreen::coverScreen(QWidget* window, const QRect& desktopArea)
{
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->geometry() == desktopArea) {
            window->setScreen(screen);
            break;
        }
    }
    window->setGeometry(desktopArea);
    window->showFullScreen();
}

QPointF FrozenScreen::inPicker(const QPointF& position) const
{
    return position + QPointF(m_area.topLeft() - m_picker.origin());
}

void FrozenScreen::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    paintPicture(painter, m_picker.picture(), m_area.topLeft(), event->rect());
}

void FrozenScreen::mouseMoveEvent(QMouseEvent* event)
{
    m_picker.pointerMoved(inPicker(event->scenePosition()));
}

void FrozenScreen::mouseReleaseEvent(QMouseEvent* event)
{
    m_picker.pointerReleased(event->button(), inPicker(event->scenePosition()));
}

void FrozenScreen::keyPressEvent(QKeyEvent* event)
{
    if (!m_picker.pictureKeyPress(event))
        QWidget::keyPressEvent(event);
}

void FrozenScreen::enterEvent(QEnterEvent* event)
{
    // The keys follow the pointer from screen to screen.
    if (!m_picker.finished() && !isActiveWindow())
        activateWindow();
    QWidget::enterEvent(event);
}

void FrozenScreen::closeEvent(QCloseEvent* event)
{
    event->accept();
    m_picker.FinishPicking();
}
