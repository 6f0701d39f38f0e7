#include "gis_extension/DialogPictures.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include "gis_toolkit/ToolkitPictures.h"

namespace gis_extension::pictures {

using gis_toolkit::pictures::transparentImage;

QImage folderButton() {
    QImage image = transparentImage(15, 13);
    QPainter painter(&image);
    const QColor outline(120, 90, 20);
    // The back of the folder with its tab.
    painter.setPen(outline);
    painter.setBrush(QColor(230, 190, 70));
    painter.drawPolygon(QPolygon({QPoint(0, 1), QPoint(5, 1), QPoint(6, 2), QPoint(12, 2), QPoint(12, 12),
                                  QPoint(0, 12)}));
    // The open front, tilted towards the viewer.
    painter.setBrush(QColor(255, 220, 110));
    painter.drawPolygon(QPolygon({QPoint(3, 5), QPoint(14, 5), QPoint(11, 12), QPoint(0, 12)}));
    return image;
}

QImage busy() {
    QImage image = transparentImage(64, 30);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // An hourglass: two glass bulbs between two plates, sand running down.
    const QColor frame(80, 60, 40);
    painter.setPen(QPen(frame, 2));
    painter.drawLine(QPointF(4, 3), QPointF(20, 3));
    painter.drawLine(QPointF(4, 27), QPointF(20, 27));
    QPainterPath glass;
    glass.moveTo(6, 4);
    glass.lineTo(18, 4);
    glass.lineTo(13, 15);
    glass.lineTo(18, 26);
    glass.lineTo(6, 26);
    glass.lineTo(11, 15);
    glass.closeSubpath();
    painter.setPen(QPen(QColor(90, 110, 140), 1));
    painter.setBrush(QColor(225, 235, 250));
    painter.drawPath(glass);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(215, 170, 60));
    painter.drawPolygon(QPolygonF({QPointF(8.5, 8), QPointF(15.5, 8), QPointF(12, 14)}));
    painter.drawPolygon(QPolygonF({QPointF(12, 20), QPointF(17, 25.5), QPointF(7, 25.5)}));
    painter.drawRect(QRectF(11.5, 14, 1, 8));
    // Three dots of growing strength: work going on.
    for (int dot = 0; dot < 3; ++dot) {
        painter.setBrush(QColor(40, 90, 170, 110 + 70 * dot));
        painter.drawEllipse(QPointF(32 + 11 * dot, 15), 4, 4);
    }
    return image;
}

QImage withinDistanceIcon() {
    QImage image = transparentImage(32, 32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Two habitat patches ...
    painter.setPen(QPen(QColor(30, 90, 40), 1.5));
    painter.setBrush(QColor(110, 180, 90));
    painter.drawEllipse(QRectF(2, 16, 12, 12));
    painter.drawEllipse(QRectF(19, 3, 11, 10));
    // ... and the distance measured between them.
    painter.setPen(QPen(QColor(180, 40, 40), 2, Qt::DashLine));
    painter.drawLine(QPointF(12, 18), QPointF(21, 11));
    return image;
}

}  // namespace gis_extension::pictures
