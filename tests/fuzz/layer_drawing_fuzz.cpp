// Writes the input as a GeoJSON file and reads its shapes as the map view draws them.
// A refusal with its reason is the expected answer to a hostile layer; a crash, a hang,
// more areas than features, or a point or vertex outside the extent is a finding.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzInput.h"
#include "gishost/app/LayerDrawing.h"

namespace {

bool inside(const QPointF& point, const gishost::app::Bounds& extent) {
    return point.x() >= extent.minX && point.x() <= extent.maxX && point.y() >= extent.minY && point.y() <= extent.maxY;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > fuzzing::maxInputSize) return -1;
    if (!fuzzing::looksLikeGeoJson(data, size)) return -1;
    const std::string path = fuzzing::writeInputFile("layer.geojson", data, size);
    try {
        const gishost::app::LayerDrawing drawing = gishost::app::readLayerDrawing(path, "");
        if (drawing.areas.size() > drawing.featureCount) std::abort();
        const std::optional<gishost::app::Bounds> extent = drawing.extent;
        const bool drawsSomething = !drawing.areas.empty() || !drawing.points.empty() || !drawing.lines.isEmpty();
        if (drawsSomething != extent.has_value()) std::abort();
        for (const QPointF& point : drawing.points)
            if (!inside(point, *extent)) std::abort();
        for (const QPainterPath& area : drawing.areas)
            for (int k = 0; k < area.elementCount(); ++k)
                if (!inside(area.elementAt(k), *extent)) std::abort();
    } catch (const gishost::app::LayerDrawingError&) {
    }
    return 0;
}
