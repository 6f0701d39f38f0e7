#include "gishost/app/LayerDrawing.h"

#include <ogr_api.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "gishost/model/Gdal.h"

namespace gishost::app {
namespace {

// OGR nests collections; deeper nesting than this is no shape anyone draws.
constexpr int maximumNesting = 32;

struct GeometryDeleter {
    void operator()(OGRGeometryH geometry) const { OGR_G_DestroyGeometry(geometry); }
};
using OwnedGeometry = std::unique_ptr<void, GeometryDeleter>;

struct FeatureDeleter {
    void operator()(OGRFeatureH feature) const { OGR_F_Destroy(feature); }
};
using OwnedFeature = std::unique_ptr<void, FeatureDeleter>;

// The vertices of a line or ring, or nothing when one is not a finite number.
std::optional<std::vector<QPointF>> verticesOf(OGRGeometryH line) {
    const int count = OGR_G_GetPointCount(line);
    std::vector<QPointF> vertices;
    vertices.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int k = 0; k < count; ++k) {
        const double x = OGR_G_GetX(line, k);
        const double y = OGR_G_GetY(line, k);
        if (!std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
        vertices.emplace_back(x, y);
    }
    return vertices;
}

class Collector {
public:
    explicit Collector(LayerDrawing& drawing) : drawing_(drawing) {}

    void feature(OGRGeometryH geometry) {
        QPainterPath area;
        area.setFillRule(Qt::OddEvenFill);
        add(geometry, area, 0);
        if (!area.isEmpty()) drawing_.areas.push_back(std::move(area));
    }

private:
    void add(OGRGeometryH geometry, QPainterPath& area, int depth) {
        if (geometry == nullptr || depth > maximumNesting || OGR_G_IsEmpty(geometry)) return;
        const OGRwkbGeometryType type = wkbFlatten(OGR_G_GetGeometryType(geometry));
        switch (type) {
            case wkbPoint:
                point(geometry);
                return;
            case wkbLineString:
            case wkbLinearRing:
                line(geometry);
                return;
            case wkbPolygon:
            case wkbTriangle:
                for (int k = 0; k < OGR_G_GetGeometryCount(geometry); ++k)
                    ring(OGR_G_GetGeometryRef(geometry, k), area);
                return;
            case wkbMultiPoint:
            case wkbMultiLineString:
            case wkbMultiPolygon:
            case wkbGeometryCollection:
            case wkbPolyhedralSurface:
            case wkbTIN:
                for (int k = 0; k < OGR_G_GetGeometryCount(geometry); ++k)
                    add(OGR_G_GetGeometryRef(geometry, k), area, depth + 1);
                return;
            default:
                if (OGR_G_HasCurveGeometry(geometry, false)) {
                    // Circular arcs and the like: drawn by their straight-line approximation.
                    const OwnedGeometry linear(OGR_G_GetLinearGeometry(geometry, 0, nullptr));
                    if (linear && !OGR_G_HasCurveGeometry(linear.get(), false)) add(linear.get(), area, depth + 1);
                }
                return;
        }
    }

    void point(OGRGeometryH geometry) {
        const double x = OGR_G_GetX(geometry, 0);
        const double y = OGR_G_GetY(geometry, 0);
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        drawing_.points.emplace_back(x, y);
        include({x, y, x, y});
    }

    void line(OGRGeometryH geometry) {
        const auto vertices = verticesOf(geometry);
        if (!vertices || vertices->size() < 2) return;
        drawing_.lines.moveTo(vertices->front());
        for (std::size_t k = 1; k < vertices->size(); ++k) drawing_.lines.lineTo((*vertices)[k]);
        includeAll(*vertices);
    }

    void ring(OGRGeometryH geometry, QPainterPath& area) {
        if (geometry == nullptr) return;
        const auto vertices = verticesOf(geometry);
        if (!vertices || vertices->size() < 3) return;
        area.moveTo(vertices->front());
        for (std::size_t k = 1; k < vertices->size(); ++k) area.lineTo((*vertices)[k]);
        area.closeSubpath();
        includeAll(*vertices);
    }

    void include(const Bounds& box) {
        if (drawing_.extent) {
            drawing_.extent->include(box);
        } else {
            drawing_.extent = box;
        }
    }

    void includeAll(const std::vector<QPointF>& vertices) {
        for (const QPointF& vertex : vertices) include({vertex.x(), vertex.y(), vertex.x(), vertex.y()});
    }

    LayerDrawing& drawing_;
};

}  // namespace

void Bounds::include(const Bounds& other) {
    minX = std::min(minX, other.minX);
    minY = std::min(minY, other.minY);
    maxX = std::max(maxX, other.maxX);
    maxY = std::max(maxY, other.maxY);
}

LayerDrawing readLayerDrawing(const std::string& path, const std::string& layerName) {
    model::gdal::ErrorScope errors;
    std::string why;
    const model::gdal::Dataset dataset = model::gdal::open(path, GDAL_OF_VECTOR, why, layerName);
    if (!dataset) throw LayerDrawingError(path + ": " + (why.empty() ? "not a vector data source" : why));
    OGRLayerH layer =
        layerName.empty()
            ? (GDALDatasetGetLayerCount(dataset.get()) > 0 ? GDALDatasetGetLayer(dataset.get(), 0) : nullptr)
            : GDALDatasetGetLayerByName(dataset.get(), layerName.c_str());
    if (layer == nullptr)
        throw LayerDrawingError(layerName.empty() ? path + " holds no layer"
                                                  : path + " holds no layer named " + layerName);
    LayerDrawing drawing;
    Collector collector(drawing);
    OGR_L_ResetReading(layer);
    while (const OwnedFeature feature{OGR_L_GetNextFeature(layer)}) {
        ++drawing.featureCount;
        collector.feature(OGR_F_GetGeometryRef(feature.get()));
    }
    if (errors.failed()) throw LayerDrawingError(path + ": " + errors.message());
    return drawing;
}

}  // namespace gishost::app
