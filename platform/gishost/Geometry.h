#pragma once
// The host's geometry: shapes with their type code, the buffer and distance operators,
// and spatial references (geographic, or projected with a linear unit).
// Headers only: the plug-in includes them and reaches the objects through the host.
#include <cstdint>
#include <string>

#include "com/ComPtr.h"
#include "com/Guid.h"
#include "com/IUnknown.h"

namespace gishost {

// The host's geometry type codes.
namespace geometryType {
inline constexpr std::int32_t Null = 0;
inline constexpr std::int32_t Point = 1;
inline constexpr std::int32_t Multipoint = 2;
inline constexpr std::int32_t Polyline = 3;
inline constexpr std::int32_t Polygon = 4;
inline constexpr std::int32_t Multipatch = 9;
inline constexpr std::int32_t GeometryBag = 17;
}  // namespace geometryType

struct IGeometry : com::IUnknown {
    static constexpr com::IID iid = com::guid("{08D14A83-E251-4354-BA02-4407848109C7}");
    using Base = com::IUnknown;

    // One of the geometryType codes.
    virtual std::int32_t GeometryType() = 0;
    // True for a shape without coordinates (a feature without a geometry has one).
    virtual bool IsEmpty() = 0;

protected:
    ~IGeometry() = default;
};

// An area: what a polygon feature holds and what a buffer gives.
struct IPolygon : IGeometry {
    static constexpr com::IID iid = com::guid("{15420956-F0CE-4462-8D04-31B0ED4B8362}");
    using Base = IGeometry;

protected:
    ~IPolygon() = default;
};

struct ITopologicalOperator : com::IUnknown {
    static constexpr com::IID iid = com::guid("{32EB3C4C-EB90-478D-9183-C1880154951F}");
    using Base = com::IUnknown;

    // The area within `distance` of the shape: every point whose distance to the shape
    // is at most `distance` (a negative distance shrinks an area). An empty shape, or a
    // distance that is not a finite number, raises the host's error.
    virtual com::ComPtr<IGeometry> Buffer(double distance) = 0;

protected:
    ~ITopologicalOperator() = default;
};

struct IProximityOperator : com::IUnknown {
    static constexpr com::IID iid = com::guid("{C09340CB-1EA6-47E1-981E-A1D43751B840}");
    using Base = com::IUnknown;

    // The shortest distance between this shape and `other`; 0 when they touch or
    // overlap. An empty shape on either side raises the host's error.
    virtual double ReturnDistance(const com::ComPtr<IGeometry>& other) = 0;

protected:
    ~IProximityOperator() = default;
};

// ---- Spatial references --------------------------------------------------------------

struct ISpatialReference : com::IUnknown {
    static constexpr com::IID iid = com::guid("{C22A73DE-F4EA-4962-AD73-3DA150AB8F46}");
    using Base = com::IUnknown;

    virtual std::string Name() = 0;

protected:
    ~ISpatialReference() = default;
};

// Coordinates in degrees of longitude and latitude.
struct IGeographicCoordinateSystem : ISpatialReference {
    static constexpr com::IID iid = com::guid("{5F5CFB39-D19D-4767-AEE3-9DA929C8FBE2}");
    using Base = ISpatialReference;

protected:
    ~IGeographicCoordinateSystem() = default;
};

struct ILinearUnit : com::IUnknown {
    static constexpr com::IID iid = com::guid("{DAD42345-6CDE-4046-ADCD-559DF95E0F63}");
    using Base = com::IUnknown;

    // The unit's name in the singular, as "Meter" or "Foot".
    virtual std::string Name() = 0;
    virtual double MetersPerUnit() = 0;

protected:
    ~ILinearUnit() = default;
};

// Coordinates on a map projection, measured in a linear unit.
struct IProjectedCoordinateSystem : ISpatialReference {
    static constexpr com::IID iid = com::guid("{9599DF4A-5A8F-4E7F-94EC-46DC28372365}");
    using Base = ISpatialReference;

    virtual com::ComPtr<ILinearUnit> CoordinateUnit() = 0;

protected:
    ~IProjectedCoordinateSystem() = default;
};

}  // namespace gishost
