#include "gishost/model/FeatureTable.h"

#include <ogr_api.h>

#include <limits>

#include "gishost/model/Gdal.h"
#include "gishost/model/GeometryObjects.h"
#include "gishost/model/HostError.h"
#include "gishost/model/ParallelWork.h"
#include "gishost/model/Proximity.h"
#include "gishost/model/SpatialReferences.h"

namespace gishost::model {
namespace {

// Days from 1 March of year 0 to the date, proleptic Gregorian (a civil-date count).
std::int64_t daysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra;
}

// A date field's value as the run-time's date: days since 30 December 1899, the time of
// day as the fraction. A time without a date counts from day 0.
com::Date dateValue(OGRFeatureH feature, int field) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, zone = 0;
    float second = 0.0f;
    OGR_F_GetFieldAsDateTimeEx(feature, field, &year, &month, &day, &hour, &minute, &second, &zone);
    double days = 0.0;
    if (month >= 1 && month <= 12)
        days = static_cast<double>(daysFromCivil(year, month, day) - daysFromCivil(1899, 12, 30));
    return com::Date{days + (hour * 3600.0 + minute * 60.0 + static_cast<double>(second)) / 86400.0};
}

FieldDefinition attributeDefinition(OGRFieldDefnH field) {
    FieldDefinition definition;
    definition.name = OGR_Fld_GetNameRef(field);
    const OGRFieldSubType subtype = OGR_Fld_GetSubType(field);
    definition.precision = OGR_Fld_GetWidth(field);
    definition.scale = OGR_Fld_GetPrecision(field);
    switch (OGR_Fld_GetType(field)) {
        case OFTInteger:
            definition.type = subtype == OFSTInt16 || subtype == OFSTBoolean ? fieldType::SmallInteger : fieldType::Integer;
            break;
        case OFTInteger64: definition.type = fieldType::Double; break;
        case OFTReal: definition.type = subtype == OFSTFloat32 ? fieldType::Single : fieldType::Double; break;
        case OFTString:
            definition.type = fieldType::String;
            definition.length = definition.precision;
            definition.precision = 0;
            definition.scale = 0;
            break;
        case OFTDate:
        case OFTTime:
        case OFTDateTime:
            definition.type = fieldType::Date;
            definition.precision = 0;
            definition.scale = 0;
            break;
        default: definition.type = fieldType::Other; break;
    }
    return definition;
}

com::Variant attributeValue(OGRFeatureH feature, int field, std::int32_t type) {
    if (!OGR_F_IsFieldSetAndNotNull(feature, field)) return com::Null{};
    switch (type) {
        case fieldType::SmallInteger: {
            const int value = OGR_F_GetFieldAsInteger(feature, field);
            if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
                return static_cast<std::int32_t>(value);
            return static_cast<std::int16_t>(value);
        }
        case fieldType::Integer: return static_cast<std::int32_t>(OGR_F_GetFieldAsInteger(feature, field));
        case fieldType::Single: return static_cast<float>(OGR_F_GetFieldAsDouble(feature, field));
        case fieldType::Double:
            if (OGR_Fld_GetType(OGR_F_GetFieldDefnRef(feature, field)) == OFTInteger64)
                return static_cast<double>(OGR_F_GetFieldAsInteger64(feature, field));
            return OGR_F_GetFieldAsDouble(feature, field);
        case fieldType::Date: return dateValue(feature, field);
        default: return std::string(OGR_F_GetFieldAsString(feature, field));
    }
}

// A feature's shape as read from the source: curves made straight, heights and measures
// dropped, as well-known binary for the geometry engine; or why there is none.
struct ReadShape {
    std::int32_t type = 0;
    bool present = false;
    std::string problem;
    std::vector<unsigned char> wkb;
};

ReadShape readShape(OGRFeatureH feature, std::int32_t layerShapeType) {
    ReadShape shape;
    shape.type = layerShapeType;
    OGRGeometryH geometry = OGR_F_GetGeometryRef(feature);
    if (geometry == nullptr) return shape;
    shape.present = true;
    shape.type = hostGeometryType(OGR_G_GetGeometryType(geometry));
    OGRGeometryH linear = OGR_G_GetLinearGeometry(geometry, 0.0, nullptr);
    if (linear == nullptr) {
        shape.problem = "the shape cannot be made of straight lines";
        return shape;
    }
    OGR_G_FlattenTo2D(linear);
    shape.wkb.resize(static_cast<std::size_t>(OGR_G_WkbSize(linear)));
    const OGRErr exported = OGR_G_ExportToWkb(linear, wkbNDR, shape.wkb.data());
    OGR_G_DestroyGeometry(linear);
    if (exported != OGRERR_NONE) shape.problem = "the shape cannot be exported";
    return shape;
}

// The shape handed to the geometry engine; a shape the engine cannot take is kept as
// unusable. Safe on any thread: the engine's context is the thread's own.
std::shared_ptr<const Shape> shapeOf(const ReadShape& read, ShapeOrigin origin) {
    if (!read.present) return Shape::empty(read.type);
    if (!read.problem.empty()) return Shape::unusable(read.type, read.problem);
    try {
        return Shape::of(geos::readWkb(read.wkb.data(), read.wkb.size()), read.type, std::move(origin));
    } catch (const com::Error& error) {
        return Shape::unusable(read.type, error.Description);
    }
}

}  // namespace

std::int32_t hostGeometryType(int ogrType) {
    switch (wkbFlatten(static_cast<OGRwkbGeometryType>(ogrType))) {
        case wkbPoint: return geometryType::Point;
        case wkbMultiPoint: return geometryType::Multipoint;
        case wkbLineString:
        case wkbMultiLineString:
        case wkbCircularString:
        case wkbCompoundCurve:
        case wkbMultiCurve: return geometryType::Polyline;
        case wkbPolygon:
        case wkbMultiPolygon:
        case wkbCurvePolygon:
        case wkbMultiSurface:
        case wkbTriangle: return geometryType::Polygon;
        case wkbPolyhedralSurface:
        case wkbTIN: return geometryType::Multipatch;
        case wkbGeometryCollection: return geometryType::GeometryBag;
        default: return geometryType::Null;
    }
}

namespace {

// The layer of an open data set, or null.
OGRLayerH findLayer(GDALDatasetH dataset, const std::string& layerName) {
    if (layerName.empty()) return GDALDatasetGetLayerCount(dataset) > 0 ? GDALDatasetGetLayer(dataset, 0) : nullptr;
    return GDALDatasetGetLayerByName(dataset, layerName.c_str());
}

com::Error unreadable(const std::string& path, const std::string& layerName, const std::string& cause) {
    return hostError(HostFailure::DataSource, "The data source " + path +
                                                  (layerName.empty() ? std::string() : " (layer " + layerName + ")") +
                                                  " cannot be read: " + cause);
}

struct OpenLayer {
    gdal::Dataset dataset;
    OGRLayerH layer;
};

OpenLayer openLayer(const std::string& path, const std::string& layerName) {
    std::string error;
    gdal::Dataset dataset = gdal::open(path, GDAL_OF_VECTOR, error, layerName);
    if (!dataset) throw unreadable(path, layerName, error);
    OGRLayerH layer = findLayer(dataset.get(), layerName);
    if (layer == nullptr) throw unreadable(path, layerName, "it holds no such layer");
    return {std::move(dataset), layer};
}

}  // namespace

std::shared_ptr<FeatureTable> FeatureTable::open(const std::string& path, const std::string& layerName) {
    const OpenLayer source = openLayer(path, layerName);
    OGRLayerH layer = source.layer;
    gdal::ErrorScope errors;

    std::shared_ptr<FeatureTable> table(new FeatureTable);
    table->path_ = path;
    table->layerName_ = layerName;
    table->name_ = OGR_L_GetName(layer);
    std::vector<FieldDefinition> definitions;
    const std::string fidColumn = OGR_L_GetFIDColumn(layer);
    definitions.push_back({fidColumn.empty() ? "FID" : fidColumn, fieldType::OID, 0, 0, 0});
    table->slots_.push_back(Slot::ObjectId);
    const OGRwkbGeometryType geometry = OGR_L_GetGeomType(layer);
    if (geometry != wkbNone) {
        const std::string geometryColumn = OGR_L_GetGeometryColumn(layer);
        definitions.push_back({geometryColumn.empty() ? "Shape" : geometryColumn, fieldType::Geometry, 0, 0, 0});
        table->slots_.push_back(Slot::Shape);
        table->shapeType_ = hostGeometryType(geometry);
    }
    OGRFeatureDefnH schema = OGR_L_GetLayerDefn(layer);
    for (int k = 0; k < OGR_FD_GetFieldCount(schema); ++k) {
        definitions.push_back(attributeDefinition(OGR_FD_GetFieldDefn(schema, k)));
        table->attributeTypes_.push_back(definitions.back().type);
        table->slots_.push_back(Slot::Attribute);
    }
    table->fields_ = com::make<IFields, Fields>(definitions, "layer " + table->name_);
    table->spatialReference_ = makeSpatialReference(OGR_L_GetSpatialRef(layer));
    if (errors.failed()) throw unreadable(path, layerName, errors.message());
    return table;
}

const std::vector<FeatureRecord>& FeatureTable::records() {
    if (!records_) readRecords();
    return *records_;
}

void FeatureTable::readRecords() {
    const OpenLayer source = openLayer(path_, layerName_);
    OGRLayerH layer = source.layer;
    gdal::ErrorScope errors;
    // The source must still have the schema the class was opened with.
    if (OGR_FD_GetFieldCount(OGR_L_GetLayerDefn(layer)) != static_cast<int>(attributeTypes_.size()))
        throw unreadable(path_, layerName_, "its fields have changed");
    std::vector<FeatureRecord> records;
    std::vector<ReadShape> shapes;
    auto proximity = std::make_shared<Proximity>();
    OGR_L_ResetReading(layer);
    while (OGRFeatureH feature = OGR_L_GetNextFeature(layer)) {
        FeatureRecord record;
        record.fid = OGR_F_GetFID(feature);
        for (std::size_t k = 0; k < attributeTypes_.size(); ++k)
            record.attributes.push_back(attributeValue(feature, static_cast<int>(k), attributeTypes_[k]));
        shapes.push_back(readShape(feature, shapeType_));
        OGR_F_Destroy(feature);
        records.push_back(std::move(record));
        if (errors.failed()) break;
    }
    if (errors.failed()) throw unreadable(path_, layerName_, errors.message());
    // The engine reads the shapes on all cores.
    parallelFor(records.size(), [&](std::size_t begin, std::size_t end) {
        for (std::size_t k = begin; k < end; ++k) {
            records[k].shape = shapeOf(shapes[k], ShapeOrigin{proximity, k});
            shapes[k] = ReadShape{};
        }
    });
    std::vector<std::shared_ptr<const Shape>> kept;
    for (const FeatureRecord& record : records) kept.push_back(record.shape);
    proximity->setShapes(std::move(kept));
    proximity->requireMemoryToStart();
    proximity_ = std::move(proximity);
    records_ = std::move(records);
}

std::uint64_t FeatureTable::memoryToStartMeasuring() {
    records();
    return proximity_->memoryToStart();
}

std::vector<std::size_t> FeatureTable::intersecting(const Shape& filter) {
    records();
    // Within a width of one of this class's own features: the neighbours measured ahead.
    if (const Shape* source = filter.bufferSource(); source && source->origin().proximity.lock() == proximity_)
        return proximity_->within(source->origin().position, filter.bufferWidth());
    if (!search_) {
        std::vector<std::shared_ptr<const Shape>> shapes;
        for (const FeatureRecord& record : records()) shapes.push_back(record.shape);
        search_ = std::make_unique<SpatialSearch>(std::move(shapes));
    }
    return search_->intersecting(filter);
}

com::ComPtr<IGeometry> FeatureTable::geometry(std::size_t position) {
    const std::vector<FeatureRecord>& all = records();
    if (geometries_.size() != all.size()) geometries_.resize(all.size());
    com::ComPtr<IGeometry>& made = geometries_[position];
    if (!made) made = makeGeometry(all[position].shape);
    return made;
}

std::int32_t FeatureTable::oid(const FeatureRecord& record) const {
    if (record.fid < std::numeric_limits<std::int32_t>::min() || record.fid > std::numeric_limits<std::int32_t>::max())
        throw hostError(HostFailure::Argument, "The feature ID " + std::to_string(record.fid) + " of layer " + name_ +
                                                   " does not fit a 32-bit object ID");
    return static_cast<std::int32_t>(record.fid);
}

com::Variant FeatureTable::value(const FeatureRecord& record, std::int32_t index) const {
    if (index < 0 || index >= fieldCount())
        throw hostError(HostFailure::Argument,
                        "Layer " + name_ + " has no field at position " + std::to_string(index));
    switch (slots_[static_cast<std::size_t>(index)]) {
        case Slot::ObjectId: return oid(record);
        case Slot::Shape: return com::Variant(makeGeometry(record.shape));
        case Slot::Attribute: break;
    }
    const std::size_t first = slots_.size() - attributeTypes_.size();
    return record.attributes[static_cast<std::size_t>(index) - first];
}

}  // namespace gishost::model
