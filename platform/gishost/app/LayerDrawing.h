#pragma once
// The shapes of a vector layer as the map view draws them, read once through OGR: the
// areas of each feature as one path (holes included), all lines as one path, and the
// points. Curves are drawn by their straight-line approximation; coordinates that are
// not finite numbers leave out the ring, line or point that holds them.
#include <QPainterPath>
#include <QPointF>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace gishost::app {

// A bounding box in map units, kept as its four edges: a rectangle of origin and size
// would lose the edges of boxes of enormous coordinates to rounding.
struct Bounds {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;

    void include(const Bounds& other);
    bool operator==(const Bounds&) const = default;
};

struct LayerDrawing {
    std::vector<QPainterPath> areas;  // one per feature with an area, odd-even filled
    QPainterPath lines;
    std::vector<QPointF> points;
    std::size_t featureCount = 0;

    // The bounding box of everything drawn (of no width or height for one point);
    // nothing when nothing is drawn.
    std::optional<Bounds> extent;
};

class LayerDrawingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The shapes of the layer `layerName` (the first layer when empty) of the vector data
// source at `path`. A source or layer that cannot be read raises LayerDrawingError with
// the path and the reason.
LayerDrawing readLayerDrawing(const std::string& path, const std::string& layerName);

}  // namespace gishost::app
