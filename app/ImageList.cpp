#include "app/ImageList.h"

#include <QApplication>
#include <QDir>
#include <qdrawutil.h>
#include <QGroupBox>
#include <QImageReader>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include <algorithm>
#include <functional>

namespace {

using Drawing = std::function<void(QPainter&, QIcon::Mode)>;

// Draws in a 16 x 16 design space scaled to whatever size is asked for.
class DrawnIconEngine final : public QIconEngine
{
public:
    explicit DrawnIconEngine(Drawing drawing) : m_drawing(std::move(drawing)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 16.0, rect.height() / 16.0);
        m_drawing(*painter, mode);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QIconEngine* clone() const override { return new DrawnIconEngine(m_drawing); }

private:
    Drawing m_drawing;
};

// A PNG picture of the program or of Qt, read by Qt's own PNG reader alone:
// a reader that may guess the format asks every image plugin of the system
// first, and loading them all costs more than the rest of the start.
QPixmap readPng(const QString& path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

// The program's icon. packaging/tintora.svg is its one drawing:
// scripts/render-icons.sh renders the desktop's sizes from it, and the build
// puts those same files into the program. They are PNG, which Qt reads without
// a plugin, so the icon shows also where Qt's SVG module is not installed. Each
// picture is read only when a size asks for it (Qt 6.4's own engine would read
// all nine for every window that shows the icon).
class ShippedIconEngine final : public QIconEngine
{
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        // The smallest picture at least as large as asked, else the largest.
        const QDir folder(QStringLiteral(":/icons/program"));
        const int wanted = std::max(size.width(), size.height());
        int chosen = 0;
        QString chosenName;
        for (const QString& name : folder.entryList(QDir::Files)) {
            const int side = name.section(QLatin1Char('x'), 0, 0).toInt(); // "48x48.png"
            const bool better = chosen < wanted ? side > chosen : side >= wanted && side < chosen;
            if (better) {
                chosen = side;
                chosenName = name;
            }
        }
        QPixmap picture = readPng(folder.filePath(chosenName));
        if (!picture.isNull() && picture.size() != size)
            picture = picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        return picture;
    }

    QIconEngine* clone() const override { return new ShippedIconEngine; }
};

QColor tone(const QColor& color, QIcon::Mode mode)
{
    if (mode != QIcon::Disabled)
        return color;
    const int grey = qGray(color.rgb());
    return QColor(grey, grey, grey, 110);
}

QIcon drawn(Drawing drawing)
{
    return QIcon(new DrawnIconEngine(std::move(drawing)));
}

QPen outline(QIcon::Mode mode, qreal width = 1.0)
{
    return QPen(tone(QColor(40, 40, 40), mode), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void swatches(QPainter& p, QIcon::Mode mode, const QList<QColor>& colors, qreal cell,
              QPointF origin)
{
    int i = 0;
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 2; ++column) {
            p.setPen(outline(mode, 0.8));
            p.setBrush(tone(colors.at(i++ % colors.size()), mode));
            p.drawRect(QRectF(origin.x() + column * cell, origin.y() + row * cell, cell, cell));
        }
}

} // namespace

ImageList::ImageList(QObject* parent) : QObject(parent) {}

QIcon ImageList::icon(const QString& tag) const
{
    if (tag == QLatin1String("pickcolor"))
        return drawn([](QPainter& p, QIcon::Mode mode) {
            // An eyedropper: bulb at the top right, glass tube to the tip.
            p.setPen(outline(mode));
            p.setBrush(tone(QColor(70, 70, 80), mode));
            p.drawEllipse(QRectF(10, 1, 5, 5));
            QPainterPath tube;
            tube.moveTo(10.5, 4);
            tube.lineTo(12, 5.5);
            tube.lineTo(4.5, 13);
            tube.lineTo(2.5, 13.5);
            tube.lineTo(3, 11.5);
            tube.closeSubpath();
            p.setBrush(tone(QColor(120, 190, 255), mode));
            p.drawPath(tube);
            p.setBrush(tone(QColor(230, 60, 60), mode));
            p.drawEllipse(QRectF(0.5, 13, 2.5, 2.5));
        });
    if (tag == QLatin1String("makewebsafe"))
        return drawn([](QPainter& p, QIcon::Mode mode) {
            swatches(p, mode,
                     {QColor(255, 0, 0), QColor(0, 153, 0), QColor(0, 0, 255), QColor(255, 204, 0)},
                     6, {1, 1});
            p.setPen(
                QPen(tone(QColor(0, 120, 0), mode), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            QPainterPath tick;
            tick.moveTo(8.5, 11.5);
            tick.lineTo(11, 14.5);
            tick.lineTo(15.5, 8.5);
            p.drawPath(tick);
        });
    if (tag == QLatin1String("showcolor"))
        return drawn([](QPainter& p, QIcon::Mode mode) {
            // A colour wheel.
            const QList<QColor> wheel = {QColor(255, 0, 0),  QColor(255, 200, 0),
                                         QColor(0, 190, 0),  QColor(0, 200, 220),
                                         QColor(0, 60, 255), QColor(200, 0, 220)};
            for (int i = 0; i < wheel.size(); ++i) {
                p.setPen(Qt::NoPen);
                p.setBrush(tone(wheel.at(i), mode));
                p.drawPie(QRectF(1, 1, 14, 14), i * 60 * 16, 60 * 16);
            }
            p.setPen(outline(mode));
            p.setBrush(tone(Qt::white, mode));
            p.drawEllipse(QRectF(5.5, 5.5, 5, 5));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(1, 1, 14, 14));
        });
    if (tag == QLatin1String("colorchart"))
        return drawn([](QPainter& p, QIcon::Mode mode) {
            const QList<QColor> colors = {
                QColor(255, 102, 102), QColor(255, 204, 102), QColor(102, 204, 102),
                QColor(102, 178, 255), QColor(178, 102, 255), QColor(255, 255, 255),
                QColor(153, 153, 153), QColor(51, 51, 51),    QColor(0, 153, 153)};
            p.setPen(outline(mode, 0.7));
            for (int i = 0; i < 9; ++i) {
                p.setBrush(tone(colors.at(i), mode));
                p.drawRect(QRectF(1 + (i % 3) * 4.7, 1 + (i / 3) * 4.7, 4.7, 4.7));
            }
        });
    if (tag == QLatin1String("ontop"))
        return drawn([](QPainter& p, QIcon::Mode mode) {
            // Two stacked windows, the front one raised.
            p.setPen(outline(mode));
            p.setBrush(tone(QColor(200, 200, 210), mode));
            p.drawRect(QRectF(1, 5, 9, 9));
            p.setBrush(tone(QColor(255, 255, 255), mode));
            p.drawRect(QRectF(6, 1.5, 9, 9));
            p.setBrush(tone(QColor(60, 120, 220), mode));
            p.drawRect(QRectF(6, 1.5, 9, 2.5));
        });
    if (tag == QLatin1String("addnew"))
        return drawn([](QPainter& p, QIcon::Mode mode) {
            swatches(p, mode,
                     {QColor(255, 153, 0), QColor(0, 153, 255), QColor(153, 204, 0),
                      QColor(204, 0, 153)},
                     5, {1, 1});
            p.setPen(QPen(tone(QColor(0, 130, 0), mode), 2.4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(12, 8), QPointF(12, 15));
            p.drawLine(QPointF(8.5, 11.5), QPointF(15.5, 11.5));
        });
    if (tag == QLatin1String("prevpage") || tag == QLatin1String("nextpage")) {
        const bool next = tag == QLatin1String("nextpage");
        return drawn([next](QPainter& p, QIcon::Mode mode) {
            QPainterPath arrow;
            if (next) {
                arrow.moveTo(4, 2);
                arrow.lineTo(12.5, 8);
                arrow.lineTo(4, 14);
            } else {
                arrow.moveTo(12, 2);
                arrow.lineTo(3.5, 8);
                arrow.lineTo(12, 14);
            }
            arrow.closeSubpath();
            p.setPen(outline(mode));
            p.setBrush(tone(QColor(50, 110, 210), mode));
            p.drawPath(arrow);
        });
    }
    if (tag == QLatin1String("clearduplicate"))
        return drawn([](QPainter& p, QIcon::Mode mode) {
            p.setPen(outline(mode));
            p.setBrush(tone(QColor(0, 153, 255), mode));
            p.drawRect(QRectF(1, 1, 7, 7));
            p.drawRect(QRectF(4, 4, 7, 7));
            p.setPen(QPen(tone(QColor(210, 30, 30), mode), 2.4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(10, 13), QPointF(15, 13));
        });
    return {};
}

QIcon ImageList::programIcon()
{
    return QIcon(new ShippedIconEngine);
}

namespace {

// The desktop's style, with the overflow buttons' arrows drawn and, in the
// Fusion style, the group box's frame painted from a picture read once.
class QuietPictureStyle final : public QProxyStyle
{
public:
    explicit QuietPictureStyle(QStyle* base) : QProxyStyle(base)
    {
        if (baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0)
            m_groupFrame = readPng(
                QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"));
    }

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override
    {
        switch (icon) {
        case SP_ToolBarHorizontalExtensionButton:
            return chevron(false);
        case SP_ToolBarVerticalExtensionButton:
            return chevron(true);
        default:
            return QProxyStyle::standardIcon(icon, option, widget);
        }
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element != PE_FrameGroupBox || m_groupFrame.isNull()) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        // As Qt 6.4's Fusion style draws it, from the same picture.
        constexpr int GroupBoxTopMargin = 3;
        int topMargin = GroupBoxTopMargin;
        const auto* box = qobject_cast<const QGroupBox*>(widget);
        if (!box || box->isCheckable() || !box->title().isEmpty())
            topMargin +=
                std::max(pixelMetric(PM_ExclusiveIndicatorHeight), option->fontMetrics.height());
        qDrawBorderPixmap(painter, option->rect.adjusted(0, topMargin, 0, 0), QMargins(6, 6, 6, 6),
                          m_groupFrame);
    }

private:
    // Two arrowheads pointing right, or down, as Qt's pictures show them.
    static QIcon chevron(bool down)
    {
        return drawn([down](QPainter& p, QIcon::Mode mode) {
            p.setPen(outline(mode, 1.4));
            p.setBrush(Qt::NoBrush);
            for (const qreal at : {4.5, 9.0}) {
                const QPolygonF head = down ? QPolygonF({{4.5, at}, {8.0, at + 3.5}, {11.5, at}})
                                            : QPolygonF({{at, 4.5}, {at + 3.5, 8.0}, {at, 11.5}});
                p.drawPolyline(head);
            }
        });
    }

    QPixmap m_groupFrame;
};

} // namespace

void ImageList::prepareStyle()
{
    if (dynamic_cast<QuietPictureStyle*>(QApplication::style()))
        return;
    // The style in use, which the user may have chosen (-style, QT_STYLE_OVERRIDE).
    QStyle* base = QStyleFactory::create(QApplication::style()->name());
    QApplication::setStyle(new QuietPictureStyle(base));
}
