#pragma once

#include "app/bascommon.h"

#include <QLabel>

// A label used as a coloured surface that reports its mouse events: the
// current-colour swatch, the palette cells and the scheme samples. Its colours
// are palette colours (no style sheet), so recolouring stays cheap.
class ClickableLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget* parent = nullptr);

    Color backColor() const;
    void setBackColor(Color color);
    Color foreColor() const;
    void setForeColor(Color color);
    // From now on the accessible name follows the back colour: `format` with
    // %1 replaced by the colour as #RRGGBB.
    void setColorNamed(const QString& format);

signals:
    // A button was released over the label.
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                       const QPoint& globalPos);
    // The left button was pressed and released over the label.
    void clicked();
    void doubleClicked();
    void mouseMoved();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void nameAfterColor();

    bool m_leftPressed = false;
    QString m_colorNameFormat;
};

QColor toQColor(Color value);
Color fromQColor(const QColor& color);
