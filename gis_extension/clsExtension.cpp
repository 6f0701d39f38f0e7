#include "gis_extension/clsExtension.h"

#include "com/ClassFactory.h"
#include "com/Creation.h"
#include "gis_toolkit/ErrorHandler.h"

namespace gis_extension {
namespace {

using gis_toolkit::ErrorHandler;

const std::string module = "clsExtension";

// Stores `value` in `field` under the property's handler.
template <class T>
void store(const char* property, T& field, const T& value) {
    ErrorHandler handler(property, module);
    handler.run([&] { field = value; });
}

// Reads `field` under the property's handler.
template <class T>
T read(const char* property, const T& field) {
    T result{};
    ErrorHandler handler(property, module);
    handler.run([&] { result = field; });
    return result;
}

}  // namespace

void clsExtension::put_ReportOfAnalysis(const std::string& value) {
    store("ReportOfAnalysis", ReportOfAnalysis_, value);
}
std::string clsExtension::ReportOfAnalysis() { return read("ReportOfAnalysis", ReportOfAnalysis_); }
void clsExtension::put_DistanceLimit(double value) { store("DistanceLimit", DistanceLimit_, value); }
double clsExtension::DistanceLimit() { return read("DistanceLimit", DistanceLimit_); }
void clsExtension::put_CalcNumberDBase(bool value) { store("CalcNumberDBase", CalcNumberDBase_, value); }
bool clsExtension::CalcNumberDBase() { return read("CalcNumberDBase", CalcNumberDBase_); }
void clsExtension::put_CalcDistanceDBase(bool value) { store("CalcDistanceDBase", CalcDistanceDBase_, value); }
bool clsExtension::CalcDistanceDBase() { return read("CalcDistanceDBase", CalcDistanceDBase_); }
void clsExtension::put_CalcDistanceASCII(bool value) { store("CalcDistanceASCII", CalcDistanceASCII_, value); }
bool clsExtension::CalcDistanceASCII() { return read("CalcDistanceASCII", CalcDistanceASCII_); }
void clsExtension::putref_SelectedLayer(const com::ComPtr<gishost::IFeatureLayer>& value) {
    store("SelectedLayer", SelectedLayer_, value);
}
com::ComPtr<gishost::IFeatureLayer> clsExtension::SelectedLayer() { return read("SelectedLayer", SelectedLayer_); }
void clsExtension::put_DirectoryPath(const std::string& value) { store("DirectoryPath", DirectoryPath_, value); }
std::string clsExtension::DirectoryPath() { return read("DirectoryPath", DirectoryPath_); }
void clsExtension::put_FieldName(const std::string& value) { store("FieldName", FieldName_, value); }
std::string clsExtension::FieldName() { return read("FieldName", FieldName_); }
void clsExtension::put_AttributeFieldName(const std::string& value) {
    store("AttributeFieldName", AttributeFieldName_, value);
}
std::string clsExtension::AttributeFieldName() { return read("AttributeFieldName", AttributeFieldName_); }
void clsExtension::put_CalcAllFeatures(bool value) { store("CalcAllFeatures", CalcAllFeatures_, value); }
bool clsExtension::CalcAllFeatures() { return read("CalcAllFeatures", CalcAllFeatures_); }
void clsExtension::put_ShouldContinue(bool value) { store("ShouldContinue", ShouldContinue_, value); }
bool clsExtension::ShouldContinue() { return read("ShouldContinue", ShouldContinue_); }

std::string clsExtension::Name() {
    std::string result;
    ErrorHandler handler("IExtension_Name", module);
    handler.run([&] { result = "Veltrano - ID Within Distance"; });
    return result;
}

void clsExtension::Startup(const com::Variant&) {
    ErrorHandler handler("IExtension_Startup", module);
    handler.run([] {});
}

void clsExtension::Shutdown() {
    ErrorHandler handler("IExtension_Shutdown", module);
    handler.run([&] { SelectedLayer_.reset(); });
}

com::ComPtr<gishost::IExtension> FindExtension(const com::ComPtr<gishost::IApplication>& application) {
    const auto uid = com::createInstanceAs<gishost::IUID>(gishost::CLSID_UID);
    uid->put_Value(ProgID_clsExtension);
    return application->FindExtensionByCLSID(uid);
}

std::unique_ptr<com::ScopedClassRegistration> registerClsExtension() {
    return std::make_unique<com::ScopedClassRegistration>(CLSID_clsExtension, ProgID_clsExtension,
                                                          com::classFactory<clsExtension>());
}

}  // namespace gis_extension
