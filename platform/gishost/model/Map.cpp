#include "gishost/model/Map.h"

#include "gishost/model/HostError.h"
#include "gishost/model/Layers.h"

namespace gishost::model {
namespace {

class Map final : public com::Object<IMap, IStandaloneTableCollection> {
public:
    Map(std::string name, std::vector<com::ComPtr<ILayer>> layers, std::vector<com::ComPtr<IStandaloneTable>> tables)
        : name_(std::move(name)), layers_(std::move(layers)), tables_(std::move(tables)) {}

    std::string Name() override { return name_; }
    std::int32_t LayerCount() override { return static_cast<std::int32_t>(layers_.size()); }
    com::ComPtr<ILayer> Layer(std::int32_t index) override {
        if (index < 0 || index >= LayerCount())
            throw hostError(HostFailure::Argument, "Map " + name_ + " has no layer at position " + std::to_string(index));
        return layers_[static_cast<std::size_t>(index)];
    }
    com::ComPtr<IEnumLayer> Layers(const com::ComPtr<IUID>& uid, bool recursive) override {
        if (!uid) return enumerateLayers(layers_, nullptr, recursive);
        const std::string value = uid->Value();
        const std::optional<com::IID> iid = com::parseGuid(value);
        if (!iid) throw hostError(HostFailure::Argument, "\"" + value + "\" is not an interface identifier");
        return enumerateLayers(layers_, &*iid, recursive);
    }

    std::int32_t StandaloneTableCount() override { return static_cast<std::int32_t>(tables_.size()); }
    com::ComPtr<IStandaloneTable> StandaloneTable(std::int32_t index) override {
        if (index < 0 || index >= StandaloneTableCount())
            throw hostError(HostFailure::Argument,
                            "Map " + name_ + " has no standalone table at position " + std::to_string(index));
        return tables_[static_cast<std::size_t>(index)];
    }
    void AddStandaloneTable(const com::ComPtr<IStandaloneTable>& table) override {
        if (!table) throw com::runtimeError(com::errors::ObjectNotSet);
        tables_.push_back(table);
    }

private:
    std::string name_;
    std::vector<com::ComPtr<ILayer>> layers_;
    std::vector<com::ComPtr<IStandaloneTable>> tables_;
};

}  // namespace

std::string StandaloneTable::Name() {
    if (!name_.empty() || !table_) return name_;
    const com::ComPtr<IDataset> dataset = table_.tryAs<IDataset>();
    return dataset ? dataset->Name() : std::string();
}

com::ComPtr<IMap> makeMap(const std::string& name, std::vector<com::ComPtr<ILayer>> layers,
                          std::vector<com::ComPtr<IStandaloneTable>> tables) {
    return com::make<IMap, Map>(name, std::move(layers), std::move(tables));
}

}  // namespace gishost::model
