#include "gis_toolkit/ToolkitPictures.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>

namespace gis_toolkit::pictures {

QImage transparentImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QImage reportIcon() {
    QImage image = transparentImage(16, 16);
    QPainter painter(&image);
    painter.setPen(QColor(90, 90, 90));
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygon({QPoint(2, 0), QPoint(10, 0), QPoint(13, 3), QPoint(13, 15), QPoint(2, 15)}));
    painter.drawLine(10, 0, 10, 3);
    painter.drawLine(10, 3, 13, 3);
    painter.setPen(QColor(30, 70, 160));
    for (int y = 5; y <= 13; y += 2) painter.drawLine(4, y, y == 5 ? 8 : 11, y);
    return image;
}

QImage cornerBars() {
    QImage image = transparentImage(15, 15);
    const QRgb white = qRgb(255, 255, 255);
    const QRgb grey = qRgb(128, 128, 128);
    // Three bars, each a white diagonal with two grey ones below it, in the bottom-right corner.
    for (int bar = 0; bar < 3; ++bar) {
        const int diagonal = 14 + 1 + 4 * bar;  // x + y of the bar's white line
        for (int x = 0; x < 15; ++x) {
            for (int step = 0; step < 3; ++step) {
                const int y = diagonal + step - x;
                if (y < 0 || y >= 15) continue;
                image.setPixel(x, y, step == 0 ? white : grey);
            }
        }
    }
    return image;
}

QImage progressClock() {
    QImage image = transparentImage(32, 32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 60, 120), 2));
    painter.setBrush(QColor(235, 240, 250));
    painter.drawEllipse(QRectF(2, 2, 28, 28));
    for (int hour = 0; hour < 12; ++hour) {
        painter.save();
        painter.translate(16, 16);
        painter.rotate(hour * 30.0);
        painter.drawLine(QPointF(0, -12), QPointF(0, -10));
        painter.restore();
    }
    painter.drawLine(QPointF(16, 16), QPointF(16, 7));
    painter.drawLine(QPointF(16, 16), QPointF(22, 19));
    return image;
}

QImage progressBarBorder() {
    QImage image(64, 16, QImage::Format_ARGB32);
    image.fill(QColor(245, 245, 245));
    QPainter painter(&image);
    painter.setPen(QColor(120, 120, 120));
    painter.drawLine(0, 0, 63, 0);
    painter.drawLine(0, 0, 0, 15);
    painter.setPen(QColor(255, 255, 255));
    painter.drawLine(1, 15, 63, 15);
    painter.drawLine(63, 1, 63, 15);
    return image;
}

QImage progressBar() {
    QImage image(64, 16, QImage::Format_ARGB32);
    QPainter painter(&image);
    QLinearGradient shade(0, 0, 0, 16);
    shade.setColorAt(0, QColor(120, 170, 240));
    shade.setColorAt(0.5, QColor(40, 100, 200));
    shade.setColorAt(1, QColor(20, 60, 150));
    painter.fillRect(image.rect(), shade);
    return image;
}

}  // namespace gis_toolkit::pictures
