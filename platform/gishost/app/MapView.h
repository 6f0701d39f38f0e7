#pragma once
// The map view: draws the map's drawable layers with QPainter (areas filled, lines,
// points), the first layer of the map on top. Dragging with the left mouse button pans,
// the wheel zooms about the pointer, and zoomToAll shows every layer whole.
#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "gishost/app/LayerDrawing.h"

namespace gishost::app {

struct DrawnLayer {
    std::shared_ptr<const LayerDrawing> drawing;
    QColor color;
};

class MapView : public QWidget {
public:
    explicit MapView(QWidget* parent = nullptr);

    // The layers in map order (the first is drawn on top). The view keeps its place.
    void setLayers(std::vector<DrawnLayer> layers);
    const std::vector<DrawnLayer>& layers() const { return layers_; }

    // Shows the extent of every layer, with a small margin, and keeps showing it when the
    // view is resized, until the user pans or zooms; with nothing to draw the view keeps
    // its place.
    void zoomToAll();
    // The part of the map that the view shows, in map units.
    QRectF visibleExtent() const;

    QSize sizeHint() const override { return {640, 480}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Map units to pixels: y grows upwards on the map and downwards on the screen.
    QTransform mapToScreen() const;

    std::vector<DrawnLayer> layers_;
    QPointF centre_{0.0, 0.0};
    double pixelsPerUnit_ = 1.0;
    void fitAll();

    std::optional<QPointF> dragStart_;
    bool showingAll_ = false;
};

// The colour of the layer at a position in the map: distinct colours for neighbours.
QColor layerColor(std::size_t position);

}  // namespace gishost::app
