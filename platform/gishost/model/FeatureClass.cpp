#include "gishost/model/FeatureClass.h"

#include <limits>
#include <vector>

#include "gishost/model/GeometryObjects.h"
#include "gishost/model/HostError.h"

namespace gishost::model {
namespace {

class Feature final : public com::Object<IFeature> {
public:
    Feature(std::shared_ptr<FeatureTable> table, std::size_t position)
        : table_(std::move(table)), position_(position) {}

    // Makes the object stand for another feature of the same class (recycling cursors).
    void refill(std::size_t position) { position_ = position; }

    com::Variant Value(std::int32_t index) override { return table_->value(record(), index); }
    void put_Value(std::int32_t, const com::Variant&) override {
        throw hostError(HostFailure::NotSupported, "The features of layer " + table_->name() + " cannot be edited");
    }
    com::ComPtr<IFields> Fields() override { return table_->fields(); }
    std::int32_t OID() override { return table_->oid(record()); }
    com::ComPtr<IGeometry> Shape() override { return table_->geometry(position_); }

private:
    const FeatureRecord& record() const { return table_->records()[position_]; }

    std::shared_ptr<FeatureTable> table_;
    std::size_t position_;
};

// Walks a list of feature positions; with recycling it hands out one feature object.
class FeatureCursor final : public com::Object<IFeatureCursor> {
public:
    FeatureCursor(std::shared_ptr<FeatureTable> table, std::vector<std::size_t> positions, bool recycling)
        : table_(std::move(table)), positions_(std::move(positions)), recycling_(recycling) {}

    com::ComPtr<IFeature> NextFeature() override {
        if (next_ >= positions_.size()) return {};
        const std::size_t position = positions_[next_++];
        if (!recycling_) return com::make<IFeature, Feature>(table_, position);
        if (!recycled_) {
            recycled_ = com::make<IFeature, Feature>(table_, position);
        } else {
            static_cast<Feature*>(recycled_.get())->refill(position);
        }
        return recycled_;
    }

private:
    std::shared_ptr<FeatureTable> table_;
    std::vector<std::size_t> positions_;
    bool recycling_;
    std::size_t next_ = 0;
    com::ComPtr<IFeature> recycled_;
};

class FeatureClass final : public com::Object<IFeatureClass, IGeoDataset, IDataset> {
public:
    explicit FeatureClass(std::shared_ptr<FeatureTable> table) : table_(std::move(table)) {}

    std::int32_t ShapeType() override { return table_->shapeType(); }
    com::ComPtr<IFields> Fields() override { return table_->fields(); }
    std::int32_t FindField(const std::string& name) override { return findField(*table_->fields(), name); }

    std::int32_t FeatureCount(const com::ComPtr<ISpatialFilter>& filter) override {
        const std::size_t count = filter ? selected(filter).size() : table_->records().size();
        if (count > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
            throw com::runtimeError(com::errors::Overflow);
        return static_cast<std::int32_t>(count);
    }

    com::ComPtr<IFeatureCursor> Search(const com::ComPtr<ISpatialFilter>& filter, bool recycling) override {
        return com::make<IFeatureCursor, FeatureCursor>(table_, selected(filter), recycling);
    }

    com::ComPtr<ISpatialReference> SpatialReference() override { return table_->spatialReference(); }
    std::string Name() override { return table_->name(); }
    void Delete() override {
        throw hostError(HostFailure::NotSupported, "The host deletes no feature class (" + table_->name() + ")");
    }

private:
    // The positions that the filter selects: every feature without a filter.
    std::vector<std::size_t> selected(const com::ComPtr<ISpatialFilter>& filter) {
        if (!filter) {
            std::vector<std::size_t> all(table_->records().size());
            for (std::size_t k = 0; k < all.size(); ++k) all[k] = k;
            return all;
        }
        if (filter->SpatialRel() != spatialRelation::Intersects)
            throw hostError(HostFailure::NotSupported,
                            "The spatial relation " + std::to_string(filter->SpatialRel()) +
                                " is not supported: layer " + table_->name() + " is searched with intersects (1)");
        const com::ComPtr<IGeometry> geometry = filter->Geometry();
        if (!geometry) throw hostError(HostFailure::Argument, "The spatial filter has no geometry");
        return table_->intersecting(*shapeOf(geometry));
    }

    std::shared_ptr<FeatureTable> table_;
};

}  // namespace

com::ComPtr<IFeatureClass> makeFeatureClass(std::shared_ptr<FeatureTable> table) {
    return com::make<IFeatureClass, FeatureClass>(std::move(table));
}

}  // namespace gishost::model
