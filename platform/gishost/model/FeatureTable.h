#pragma once
// The features of one OGR layer as a feature class serves them: the schema (fields with
// the host's type codes, shape type, spatial reference) read when the class is opened,
// and the features themselves read in one pass on first use and kept, so that any
// number of cursors can walk them at once. A data source that cannot be read, or fails
// while it is read, raises the host's error naming the layer.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "com/ComPtr.h"
#include "com/Variant.h"
#include "gishost/Geodatabase.h"
#include "gishost/model/Fields.h"
#include "gishost/model/Proximity.h"
#include "gishost/model/Shape.h"
#include "gishost/model/SpatialSearch.h"

namespace gishost::model {

struct FeatureRecord {
    std::int64_t fid = 0;
    std::vector<com::Variant> attributes;  // by attribute field
    std::shared_ptr<const Shape> shape;
};

class FeatureTable {
public:
    // Opens the layer `layerName` of the data source at `path` (the first layer when the
    // name is empty) and reads its schema.
    static std::shared_ptr<FeatureTable> open(const std::string& path, const std::string& layerName);

    const std::string& name() const { return name_; }
    std::int32_t shapeType() const { return shapeType_; }
    com::ComPtr<IFields> fields() const { return fields_; }
    com::ComPtr<ISpatialReference> spatialReference() const { return spatialReference_; }
    std::int32_t fieldCount() const { return static_cast<std::int32_t>(slots_.size()); }

    // Every feature in the source's order, read on the first call.
    const std::vector<FeatureRecord>& records();
    // What an analysis that measures the distances between the features holds at its peak
    // beyond what the process holds once they are read, in bytes (AnalysisPeakMemory.h);
    // the figure that reading them compares with the memory left. Reads them first.
    std::uint64_t memoryToStartMeasuring();
    // The positions of the features whose shapes intersect `filter`, ascending.
    std::vector<std::size_t> intersecting(const Shape& filter);

    // The geometry object of the feature at `position`, made once and shared: a shape is
    // never changed, so every caller may hold the same object.
    com::ComPtr<IGeometry> geometry(std::size_t position);

    // The value of field `index` of a feature, typed as the layer stores it.
    com::Variant value(const FeatureRecord& record, std::int32_t index) const;
    // A feature's object ID; one outside the 32-bit range raises the host's error.
    std::int32_t oid(const FeatureRecord& record) const;

private:
    enum class Slot { ObjectId, Shape, Attribute };

    FeatureTable() = default;
    void readRecords();

    std::string path_;
    std::string layerName_;
    std::string name_;
    std::int32_t shapeType_ = 0;
    std::vector<Slot> slots_;
    std::vector<std::int32_t> attributeTypes_;
    com::ComPtr<IFields> fields_;
    com::ComPtr<ISpatialReference> spatialReference_;
    std::optional<std::vector<FeatureRecord>> records_;
    std::shared_ptr<Proximity> proximity_;
    std::vector<com::ComPtr<IGeometry>> geometries_;
    std::unique_ptr<SpatialSearch> search_;
};

// The host's geometry type code of an OGR geometry type.
std::int32_t hostGeometryType(int ogrType);

}  // namespace gishost::model
