// Listing a map's layers and tables by kind.
#include "com/Creation.h"
#include "gis_toolkit/ErrorHandler.h"
#include "gis_toolkit/MyGeneralOperations.h"
#include "gishost/Carto.h"

namespace gis_toolkit::MyGeneralOperations {
namespace {

const std::string module = "MyGeneralOperations";

// The flags of the mask, read from its binary digits.
struct LayerKinds {
    bool allFeatureLayers = false;
    bool standaloneTables = false;
    bool points = false;
    bool polylines = false;
    bool polygons = false;
    bool multipoints = false;

    bool selects(std::int32_t shapeType) const {
        switch (shapeType) {
            case gishost::geometryType::Point: return points;
            case gishost::geometryType::Polyline: return polylines;
            case gishost::geometryType::Polygon: return polygons;
            case gishost::geometryType::Multipoint: return multipoints;
            default: return false;
        }
    }
};

// Digit 1 is the most significant of eight. Only the last eight digits are read, so that
// a mask above 255 does not shift the meaning of every digit.
LayerKinds kindsOf(std::int32_t mask) {
    const std::string binary = ConvertLongBinary(mask, 8);
    const std::string digits = binary.substr(binary.size() - 8);
    const auto set = [&](int digit) { return digits[static_cast<std::size_t>(digit - 1)] == '1'; };
    LayerKinds kinds;
    kinds.allFeatureLayers = set(8);
    kinds.standaloneTables = set(6);
    kinds.points = set(5);
    kinds.polylines = set(4);
    kinds.polygons = set(3);
    kinds.multipoints = set(2);
    return kinds;
}

}  // namespace

com::ComPtr<gishost::IArray> ReturnLayersByType(const com::ComPtr<gishost::IMap>& map, std::int32_t mask) {
    com::ComPtr<gishost::IArray> result;
    ErrorHandler handler("ReturnLayersByType", module);
    handler.run([&] {
        const LayerKinds kinds = kindsOf(mask);
        result = com::createInstanceAs<gishost::IArray>(gishost::CLSID_Array);
        if (map->LayerCount() > 0) {
            const com::ComPtr<gishost::IEnumLayer> layers = map->Layers(nullptr, true);
            layers->Reset();
            for (com::ComPtr<gishost::ILayer> layer = layers->Next(); layer; layer = layers->Next()) {
                if (const auto featureLayer = layer.tryAs<gishost::IFeatureLayer>()) {
                    if (featureLayer->Valid() &&
                        (kinds.allFeatureLayers || kinds.selects(featureLayer->FeatureClass()->ShapeType())))
                        result->Add(layer);
                } else if (layer.tryAs<gishost::IRasterLayer>() || layer.tryAs<gishost::ISurfaceLayer>()) {
                    if (layer->Valid()) result->Add(layer);
                }
            }
        }
        if (kinds.standaloneTables) {
            const auto tables = map.as<gishost::IStandaloneTableCollection>();
            for (std::int32_t k = 0; k < tables->StandaloneTableCount(); ++k) result->Add(tables->StandaloneTable(k));
        }
    });
    return result;
}

}  // namespace gis_toolkit::MyGeneralOperations
