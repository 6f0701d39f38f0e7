#pragma once
// Maps with their layers and standalone tables, and the standalone table class.
#include <string>
#include <vector>

#include "com/ComPtr.h"
#include "com/Object.h"
#include "gishost/Carto.h"

namespace gishost::model {

com::ComPtr<IMap> makeMap(const std::string& name, std::vector<com::ComPtr<ILayer>> layers,
                          std::vector<com::ComPtr<IStandaloneTable>> tables = {});

// A table in a map; created by class identifier.
class StandaloneTable final : public com::Object<IStandaloneTable> {
public:
    com::ComPtr<ITable> Table() override { return table_; }
    void putref_Table(const com::ComPtr<ITable>& table) override { table_ = table; }
    std::string Name() override;
    void put_Name(const std::string& name) override { name_ = name; }

private:
    com::ComPtr<ITable> table_;
    std::string name_;
};

}  // namespace gishost::model
