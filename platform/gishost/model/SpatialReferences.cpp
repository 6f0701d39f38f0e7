#include "gishost/model/SpatialReferences.h"

#include <cctype>
#include <string>

#include "com/Object.h"

namespace gishost::model {
namespace {

class LinearUnit final : public com::Object<ILinearUnit> {
public:
    LinearUnit(std::string name, double metersPerUnit) : name_(std::move(name)), metersPerUnit_(metersPerUnit) {}
    std::string Name() override { return name_; }
    double MetersPerUnit() override { return metersPerUnit_; }

private:
    std::string name_;
    double metersPerUnit_;
};

class UnknownSystem final : public com::Object<ISpatialReference> {
public:
    std::string Name() override { return "Unknown"; }
};

class GeographicSystem final : public com::Object<IGeographicCoordinateSystem> {
public:
    explicit GeographicSystem(std::string name) : name_(std::move(name)) {}
    std::string Name() override { return name_; }

private:
    std::string name_;
};

class ProjectedSystem final : public com::Object<IProjectedCoordinateSystem> {
public:
    ProjectedSystem(std::string name, com::ComPtr<ILinearUnit> unit) : name_(std::move(name)), unit_(std::move(unit)) {}
    std::string Name() override { return name_; }
    com::ComPtr<ILinearUnit> CoordinateUnit() override { return unit_; }

private:
    std::string name_;
    com::ComPtr<ILinearUnit> unit_;
};

std::string nameOf(OGRSpatialReferenceH reference) {
    const char* name = OSRGetName(reference);
    return name != nullptr ? name : "Unknown";
}

}  // namespace

std::string linearUnitName(const std::string& ogrName) {
    std::string name = ogrName;
    for (std::size_t at = name.find("metre"); at != std::string::npos; at = name.find("metre", at))
        name.replace(at, 5, "meter");
    if (!name.empty()) name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    return name;
}

com::ComPtr<ISpatialReference> makeSpatialReference(OGRSpatialReferenceH reference) {
    if (reference == nullptr) return com::make<ISpatialReference, UnknownSystem>();
    if (OSRIsProjected(reference)) {
        char* unitName = nullptr;
        const double metersPerUnit = OSRGetLinearUnits(reference, &unitName);
        auto unit = com::make<ILinearUnit, LinearUnit>(linearUnitName(unitName != nullptr ? unitName : ""), metersPerUnit);
        return com::make<ISpatialReference, ProjectedSystem>(nameOf(reference), unit);
    }
    if (OSRIsGeographic(reference)) return com::make<ISpatialReference, GeographicSystem>(nameOf(reference));
    return com::make<ISpatialReference, UnknownSystem>();
}

}  // namespace gishost::model
