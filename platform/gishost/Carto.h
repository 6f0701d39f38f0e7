#pragma once
// The host's maps: layers (feature layers, group layers and the two further kinds),
// the walk over a map's layers, and standalone tables with their collection.
// Headers only: the plug-in includes them and reaches the objects through the host.
#include <cstdint>
#include <string>

#include "com/ComPtr.h"
#include "com/Guid.h"
#include "com/IUnknown.h"
#include "gishost/Geodatabase.h"
#include "gishost/System.h"

namespace gishost {

struct ILayer : com::IUnknown {
    static constexpr com::IID iid = com::guid("{CD0F6461-3418-4C76-86A6-F743E67F3D4A}");
    using Base = com::IUnknown;

    virtual std::string Name() = 0;
    virtual void put_Name(const std::string& name) = 0;
    // True while the layer's data source is available.
    virtual bool Valid() = 0;

protected:
    ~ILayer() = default;
};

struct IFeatureLayer : ILayer {
    static constexpr com::IID iid = com::guid("{40A9E885-5533-11D0-98BE-00805F7CED21}");
    using Base = ILayer;

    // The layer's feature class; empty when its data source cannot be opened.
    virtual com::ComPtr<IFeatureClass> FeatureClass() = 0;

protected:
    ~IFeatureLayer() = default;
};

// A layer that holds other layers, counted from 0.
struct ICompositeLayer : com::IUnknown {
    static constexpr com::IID iid = com::guid("{7BC8671C-2BC4-4840-8C9D-CDEABBE30103}");
    using Base = com::IUnknown;

    virtual std::int32_t Count() = 0;
    virtual com::ComPtr<ILayer> Layer(std::int32_t index) = 0;

protected:
    ~ICompositeLayer() = default;
};

// A layer of grid cells (an image or a raster of values).
struct IRasterLayer : ILayer {
    static constexpr com::IID iid = com::guid("{D02371C7-35F7-11D2-B1F2-00C04F8EDEFF}");
    using Base = ILayer;

    virtual std::string FilePath() = 0;

protected:
    ~IRasterLayer() = default;
};

// A layer that shows a surface of heights.
struct ISurfaceLayer : ILayer {
    static constexpr com::IID iid = com::guid("{FE308F36-BDCA-11D1-A523-0000F8774F0F}");
    using Base = ILayer;

    virtual std::string FilePath() = 0;

protected:
    ~ISurfaceLayer() = default;
};

// A walk over layers; Next gives an empty reference at the end.
struct IEnumLayer : com::IUnknown {
    static constexpr com::IID iid = com::guid("{45154443-7F9F-487E-8E2F-A2F666914144}");
    using Base = com::IUnknown;

    virtual void Reset() = 0;
    virtual com::ComPtr<ILayer> Next() = 0;

protected:
    ~IEnumLayer() = default;
};

// A table shown in a map without shapes.
struct IStandaloneTable : com::IUnknown {
    static constexpr com::IID iid = com::guid("{D64F8C9D-8D27-4844-A360-AAA8B85978B3}");
    using Base = com::IUnknown;

    virtual com::ComPtr<ITable> Table() = 0;
    virtual void putref_Table(const com::ComPtr<ITable>& table) = 0;
    // The table's data-set name unless another name was given.
    virtual std::string Name() = 0;
    virtual void put_Name(const std::string& name) = 0;

protected:
    ~IStandaloneTable() = default;
};

struct IStandaloneTableCollection : com::IUnknown {
    static constexpr com::IID iid = com::guid("{C8607F7E-A030-475A-952A-E9BF59A0C636}");
    using Base = com::IUnknown;

    virtual std::int32_t StandaloneTableCount() = 0;
    // The table at `index`, from 0 to StandaloneTableCount - 1.
    virtual com::ComPtr<IStandaloneTable> StandaloneTable(std::int32_t index) = 0;
    virtual void AddStandaloneTable(const com::ComPtr<IStandaloneTable>& table) = 0;

protected:
    ~IStandaloneTableCollection() = default;
};

struct IMap : com::IUnknown {
    static constexpr com::IID iid = com::guid("{C4F8080A-C448-4ACB-9469-8612E2E31B40}");
    using Base = com::IUnknown;

    virtual std::string Name() = 0;
    // The number of layers at the top of the map (group layers count once).
    virtual std::int32_t LayerCount() = 0;
    virtual com::ComPtr<ILayer> Layer(std::int32_t index) = 0;
    // The map's layers in map order: with `recursive`, a group layer is followed by the
    // layers it holds. With an interface identifier in `uid` ("{...}"), only the layers
    // that answer that interface; with an empty `uid`, all.
    virtual com::ComPtr<IEnumLayer> Layers(const com::ComPtr<IUID>& uid, bool recursive) = 0;

protected:
    ~IMap() = default;
};

inline constexpr com::CLSID CLSID_StandaloneTable = com::guid("{6BB12A0F-C8FF-4E7D-B0AF-1F60FD7A312A}");

}  // namespace gishost
