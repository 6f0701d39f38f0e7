#pragma once
// The extension object: the host creates it once when it starts and shuts it down at
// its end. Besides the three members of the host's IExtension it is a bag of the
// settings of one within-distance analysis, carried from the settings file and the
// parameters dialog to the command, and of the finished report, carried from the
// analysis back to the command. Every accessor reports its own errors under the
// property's name (module "clsExtension") and returns normally.
#include <cstdint>
#include <memory>
#include <string>

#include "com/ComPtr.h"
#include "com/ClassTable.h"
#include "com/IUnknown.h"
#include "com/Object.h"
#include "gishost/Carto.h"
#include "gishost/Framework.h"

namespace gis_extension {

inline constexpr com::CLSID CLSID_clsExtension = com::guid("{3645C76C-F3EA-47CB-B5D8-27A4DA04926D}");
inline constexpr const char* ProgID_clsExtension = "Veltrano.clsExtension";

// The class's default interface: for each property its write accessor, then its read accessor.
struct _clsExtension : com::IDispatch {
    static constexpr com::IID iid = com::guid("{8E6C04AB-72D1-4566-A5A6-17A66376BE8E}");
    using Base = com::IDispatch;

    virtual void put_ReportOfAnalysis(const std::string& value) = 0;
    virtual std::string ReportOfAnalysis() = 0;
    virtual void put_DistanceLimit(double value) = 0;
    virtual double DistanceLimit() = 0;
    virtual void put_CalcNumberDBase(bool value) = 0;
    virtual bool CalcNumberDBase() = 0;
    virtual void put_CalcDistanceDBase(bool value) = 0;
    virtual bool CalcDistanceDBase() = 0;
    virtual void put_CalcDistanceASCII(bool value) = 0;
    virtual bool CalcDistanceASCII() = 0;
    virtual void putref_SelectedLayer(const com::ComPtr<gishost::IFeatureLayer>& value) = 0;
    virtual com::ComPtr<gishost::IFeatureLayer> SelectedLayer() = 0;
    virtual void put_DirectoryPath(const std::string& value) = 0;
    virtual std::string DirectoryPath() = 0;
    virtual void put_FieldName(const std::string& value) = 0;
    virtual std::string FieldName() = 0;
    virtual void put_AttributeFieldName(const std::string& value) = 0;
    virtual std::string AttributeFieldName() = 0;
    virtual void put_CalcAllFeatures(bool value) = 0;
    virtual bool CalcAllFeatures() = 0;
    virtual void put_ShouldContinue(bool value) = 0;
    virtual bool ShouldContinue() = 0;

protected:
    ~_clsExtension() = default;
};

class clsExtension final : public com::Object<_clsExtension, gishost::IExtension> {
public:
    void put_ReportOfAnalysis(const std::string& value) override;
    std::string ReportOfAnalysis() override;
    void put_DistanceLimit(double value) override;
    double DistanceLimit() override;
    void put_CalcNumberDBase(bool value) override;
    bool CalcNumberDBase() override;
    void put_CalcDistanceDBase(bool value) override;
    bool CalcDistanceDBase() override;
    void put_CalcDistanceASCII(bool value) override;
    bool CalcDistanceASCII() override;
    void putref_SelectedLayer(const com::ComPtr<gishost::IFeatureLayer>& value) override;
    com::ComPtr<gishost::IFeatureLayer> SelectedLayer() override;
    void put_DirectoryPath(const std::string& value) override;
    std::string DirectoryPath() override;
    void put_FieldName(const std::string& value) override;
    std::string FieldName() override;
    void put_AttributeFieldName(const std::string& value) override;
    std::string AttributeFieldName() override;
    void put_CalcAllFeatures(bool value) override;
    bool CalcAllFeatures() override;
    void put_ShouldContinue(bool value) override;
    bool ShouldContinue() override;

    // IExtension
    std::string Name() override;
    void Startup(const com::Variant& initializationData) override;
    // Lets go of the selected layer.
    void Shutdown() override;

private:
    bool ShouldContinue_ = false;
    std::string DirectoryPath_;
    com::ComPtr<gishost::IFeatureLayer> SelectedLayer_;
    std::string FieldName_;
    std::string AttributeFieldName_;
    bool CalcAllFeatures_ = false;
    double DistanceLimit_ = 0.0;
    bool CalcNumberDBase_ = false;
    bool CalcDistanceDBase_ = false;
    bool CalcDistanceASCII_ = false;
    std::string ReportOfAnalysis_;
};

// The extension object that the host loaded, found through the application by the
// class's ProgID; empty when the host loaded none.
com::ComPtr<gishost::IExtension> FindExtension(const com::ComPtr<gishost::IApplication>& application);

// Puts the class into the process's class table under its CLSID and ProgID for the
// lifetime of the registration, so that the tests and the headless benchmark driver,
// which link the extension instead of loading its library, can create it.
std::unique_ptr<com::ScopedClassRegistration> registerClsExtension();

}  // namespace gis_extension
