#include "gishost/app/MapView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace gishost::app {
namespace {

constexpr double zoomStep = 1.25;  // per notch of the wheel
constexpr double margin = 0.05;    // of the extent, on every side, when zoomed to all
constexpr double pointRadius = 3.0;
// Beyond these the transformation would lose the map to rounding.
constexpr double smallestScale = 1e-12;
constexpr double largestScale = 1e12;

}  // namespace

MapView::MapView(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
    setMouseTracking(false);
    setMinimumSize(200, 150);
}

QColor layerColor(std::size_t position) {
    static const QColor palette[] = {QColor(102, 166, 30), QColor(31, 120, 180), QColor(227, 119, 0),
                                     QColor(152, 78, 163), QColor(166, 118, 29), QColor(231, 41, 138)};
    return palette[position % std::size(palette)];
}

void MapView::setLayers(std::vector<DrawnLayer> layers) {
    layers_ = std::move(layers);
    update();
}

void MapView::zoomToAll() {
    showingAll_ = true;
    fitAll();
}

void MapView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (showingAll_) fitAll();
}

void MapView::fitAll() {
    std::optional<Bounds> all;
    for (const DrawnLayer& layer : layers_) {
        if (!layer.drawing || !layer.drawing->extent) continue;
        if (all) {
            all->include(*layer.drawing->extent);
        } else {
            all = layer.drawing->extent;
        }
    }
    if (!all) return;
    centre_ = QPointF(all->minX / 2.0 + all->maxX / 2.0, all->minY / 2.0 + all->maxY / 2.0);
    const double width = (all->maxX - all->minX) * (1.0 + 2.0 * margin);
    const double height = (all->maxY - all->minY) * (1.0 + 2.0 * margin);
    double scale = 1.0;
    if (width > 0.0 && height > 0.0) {
        scale = std::min(this->width() / width, this->height() / height);
    } else if (width > 0.0 || height > 0.0) {
        scale = width > 0.0 ? this->width() / width : this->height() / height;
    }
    // One point, or a layer too large or small for the screen: the nearest usable scale.
    if (!std::isfinite(scale)) scale = 1.0;
    pixelsPerUnit_ = std::clamp(scale, smallestScale, largestScale);
    update();
}

QTransform MapView::mapToScreen() const {
    const double s = pixelsPerUnit_;
    return QTransform(s, 0.0, 0.0, -s, width() / 2.0 - centre_.x() * s, height() / 2.0 + centre_.y() * s);
}

QRectF MapView::visibleExtent() const { return mapToScreen().inverted().mapRect(QRectF(rect())); }

void MapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QTransform transform = mapToScreen();
    const QRectF visible = visibleExtent();
    // The last layer first, so that the first layer of the map is drawn on top.
    for (auto layer = layers_.rbegin(); layer != layers_.rend(); ++layer) {
        if (!layer->drawing) continue;
        const LayerDrawing& drawing = *layer->drawing;
        QPen outline(layer->color.darker(160));
        outline.setCosmetic(true);
        outline.setWidthF(1.0);
        painter.setTransform(transform);
        painter.setPen(outline);
        QColor fill = layer->color;
        fill.setAlpha(150);
        painter.setBrush(fill);
        for (const QPainterPath& area : drawing.areas)
            if (area.controlPointRect().intersects(visible)) painter.drawPath(area);
        if (!drawing.lines.isEmpty()) {
            QPen line(layer->color.darker(120));
            line.setCosmetic(true);
            line.setWidthF(1.5);
            painter.setPen(line);
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(drawing.lines);
        }
        // Points keep their size on the screen whatever the scale.
        painter.resetTransform();
        painter.setPen(outline);
        painter.setBrush(layer->color);
        for (const QPointF& point : drawing.points) {
            if (!visible.contains(point)) continue;
            painter.drawEllipse(transform.map(point), pointRadius, pointRadius);
        }
    }
}

void MapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragStart_ = event->position();
        setCursor(Qt::ClosedHandCursor);
    }
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragStart_) return;
    const QPointF moved = event->position() - *dragStart_;
    dragStart_ = event->position();
    showingAll_ = false;
    centre_ -= QPointF(moved.x() / pixelsPerUnit_, -moved.y() / pixelsPerUnit_);
    update();
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && dragStart_) {
        dragStart_.reset();
        unsetCursor();
    }
}

void MapView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0) return;
    const double scale = std::clamp(pixelsPerUnit_ * std::pow(zoomStep, notches), smallestScale, largestScale);
    // The map point under the pointer stays under it.
    const QPointF under = mapToScreen().inverted().map(event->position());
    pixelsPerUnit_ = scale;
    showingAll_ = false;
    const QPointF after = mapToScreen().inverted().map(event->position());
    centre_ += under - after;
    update();
    event->accept();
}

}  // namespace gishost::app
