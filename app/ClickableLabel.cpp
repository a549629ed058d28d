#include "app/ClickableLabel.h"

#include <QMouseEvent>

QColor toQColor(Color value)
{
    return QColor(bascommon::GetRed(value), bascommon::GetGreen(value), bascommon::GetBlue(value));
}

Color fromQColor(const QColor& color)
{
    return bascommon::MakeColor(color.red(), color.green(), color.blue());
}

ClickableLabel::ClickableLabel(QWidget* parent) : QLabel(parent)
{
    setAutoFillBackground(true);
}

Color ClickableLabel::backColor() const
{
    return fromQColor(palette().color(QPalette::Window));
}

void ClickableLabel::setBackColor(Color color)
{
    QPalette colors = palette();
    colors.setColor(QPalette::Window, toQColor(color));
    setPalette(colors);
    nameAfterColor();
}

void ClickableLabel::setColorNamed(const QString& format)
{
    m_colorNameFormat = format;
    nameAfterColor();
}

void ClickableLabel::nameAfterColor()
{
    if (!m_colorNameFormat.isEmpty())
        setAccessibleName(m_colorNameFormat.arg(bascommon::ColorToHtmlHex(backColor())));
}

Color ClickableLabel::foreColor() const
{
    return fromQColor(palette().color(QPalette::WindowText));
}

void ClickableLabel::setForeColor(Color color)
{
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, toQColor(color));
    setPalette(colors);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_leftPressed = true;
    event->accept();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool wasLeftClick = event->button() == Qt::LeftButton && m_leftPressed &&
                              rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        m_leftPressed = false;
    event->accept();
    emit mouseReleased(event->button(), event->modifiers(), event->globalPosition().toPoint());
    if (wasLeftClick)
        emit clicked();
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_leftPressed = true;
    event->accept();
    emit doubleClicked();
}

void ClickableLabel::mouseMoveEvent(QMouseEvent* event)
{
    QLabel::mouseMoveEvent(event);
    emit mouseMoved();
}
