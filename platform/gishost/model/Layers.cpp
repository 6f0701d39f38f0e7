#include "gishost/model/Layers.h"

#include <gdal.h>

#include "com/Object.h"
#include "gishost/model/FeatureClass.h"
#include "gishost/model/FeatureTable.h"
#include "gishost/model/Gdal.h"
#include "gishost/model/HostError.h"

namespace gishost::model {
namespace {

// The file's name without its folder and extension.
std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

bool opens(const std::string& path, unsigned int flags, const std::string& layerName = {}) {
    std::string error;
    const gdal::Dataset dataset = gdal::open(path, flags, error, layerName);
    if (!dataset) return false;
    if (layerName.empty()) return (flags & GDAL_OF_VECTOR) == 0 || GDALDatasetGetLayerCount(dataset.get()) > 0;
    return GDALDatasetGetLayerByName(dataset.get(), layerName.c_str()) != nullptr;
}

class FeatureLayer final : public com::Object<IFeatureLayer> {
public:
    FeatureLayer(std::string path, std::string layerName, std::string name)
        : path_(std::move(path)), layerName_(std::move(layerName)), name_(std::move(name)) {}

    std::string Name() override { return name_; }
    void put_Name(const std::string& name) override { name_ = name; }
    bool Valid() override { return opens(path_, GDAL_OF_VECTOR, layerName_); }

    com::ComPtr<IFeatureClass> FeatureClass() override {
        if (!featureClass_) {
            try {
                featureClass_ = makeFeatureClass(FeatureTable::open(path_, layerName_));
            } catch (const com::Error& error) {
                // A layer whose source cannot be opened has no feature class, as the host shows it.
                if (error.Number != hostErrorNumber(HostFailure::DataSource)) throw;
            }
        }
        return featureClass_;
    }

private:
    std::string path_;
    std::string layerName_;
    std::string name_;
    com::ComPtr<IFeatureClass> featureClass_;
};

class GroupLayer final : public com::Object<ILayer, ICompositeLayer> {
public:
    GroupLayer(std::string name, std::vector<com::ComPtr<ILayer>> layers)
        : name_(std::move(name)), layers_(std::move(layers)) {}

    std::string Name() override { return name_; }
    void put_Name(const std::string& name) override { name_ = name; }
    bool Valid() override { return true; }
    std::int32_t Count() override { return static_cast<std::int32_t>(layers_.size()); }
    com::ComPtr<ILayer> Layer(std::int32_t index) override {
        if (index < 0 || index >= Count())
            throw hostError(HostFailure::Argument,
                            "Group layer " + name_ + " has no layer at position " + std::to_string(index));
        return layers_[static_cast<std::size_t>(index)];
    }

private:
    std::string name_;
    std::vector<com::ComPtr<ILayer>> layers_;
};

// A layer over a GDAL raster; Kind is the interface that names its kind.
template <class Kind>
class GridLayer final : public com::Object<Kind> {
public:
    GridLayer(std::string path, std::string name) : path_(std::move(path)), name_(std::move(name)) {}

    std::string Name() override { return name_; }
    void put_Name(const std::string& name) override { name_ = name; }
    bool Valid() override { return opens(path_, GDAL_OF_RASTER); }
    std::string FilePath() override { return path_; }

private:
    std::string path_;
    std::string name_;
};

class LayerWalk final : public com::Object<IEnumLayer> {
public:
    explicit LayerWalk(std::vector<com::ComPtr<ILayer>> layers) : layers_(std::move(layers)) {}
    void Reset() override { next_ = 0; }
    com::ComPtr<ILayer> Next() override { return next_ < layers_.size() ? layers_[next_++] : com::ComPtr<ILayer>(); }

private:
    std::vector<com::ComPtr<ILayer>> layers_;
    std::size_t next_ = 0;
};

bool answers(const com::ComPtr<ILayer>& layer, const com::IID& iid) {
    void* object = nullptr;
    if (layer->QueryInterface(iid, &object) != com::S_OK) return false;
    static_cast<com::IUnknown*>(object)->Release();
    return true;
}

void collect(const std::vector<com::ComPtr<ILayer>>& layers, const com::IID* only, bool recursive,
             std::vector<com::ComPtr<ILayer>>& walk) {
    for (const com::ComPtr<ILayer>& layer : layers) {
        if (!layer) continue;
        if (only == nullptr || answers(layer, *only)) walk.push_back(layer);
        if (!recursive) continue;
        if (const auto group = layer.tryAs<ICompositeLayer>()) {
            std::vector<com::ComPtr<ILayer>> members;
            for (std::int32_t k = 0; k < group->Count(); ++k) members.push_back(group->Layer(k));
            collect(members, only, recursive, walk);
        }
    }
}

}  // namespace

com::ComPtr<IFeatureLayer> openFeatureLayer(const std::string& path, const std::string& layerName,
                                            const std::string& name) {
    const std::string shown = !name.empty() ? name : !layerName.empty() ? layerName : fileNameOf(path);
    return com::make<IFeatureLayer, FeatureLayer>(path, layerName, shown);
}

com::ComPtr<ILayer> makeGroupLayer(const std::string& name, std::vector<com::ComPtr<ILayer>> layers) {
    return com::make<ILayer, GroupLayer>(name, std::move(layers));
}

com::ComPtr<IRasterLayer> openRasterLayer(const std::string& path, const std::string& name) {
    return com::make<IRasterLayer, GridLayer<IRasterLayer>>(path, name.empty() ? fileNameOf(path) : name);
}

com::ComPtr<ISurfaceLayer> openSurfaceLayer(const std::string& path, const std::string& name) {
    return com::make<ISurfaceLayer, GridLayer<ISurfaceLayer>>(path, name.empty() ? fileNameOf(path) : name);
}

com::ComPtr<IEnumLayer> enumerateLayers(const std::vector<com::ComPtr<ILayer>>& layers, const com::IID* only,
                                        bool recursive) {
    std::vector<com::ComPtr<ILayer>> walk;
    collect(layers, only, recursive, walk);
    return com::make<IEnumLayer, LayerWalk>(std::move(walk));
}

}  // namespace gishost::model
