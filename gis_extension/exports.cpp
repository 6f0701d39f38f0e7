// The four entry points of the extension's shared library, a self-registering
// in-process component server, and the library's version information.
#include "com/InprocServer.h"
#include "com/VersionInformation.h"
#include "gis_extension/VeltranoServer.h"

namespace {

COM_VERSION_SECTION const char veltranoVersion[] =
    "VERSIONINFO 1\n"
    "FILEVERSION=1.0.0.96\n"
    "PRODUCTVERSION=1.0.0.96\n"
    "FileVersion=1.00.0096\n"
    "ProductVersion=1.00.0096\n"
    "ProductName=Veltrano\n"
    "InternalName=Veltrano_inputs\n"
    "OriginalFilename=Veltrano_inputs.dll\n"
    "OLESelfRegister=\n";

}  // namespace

extern "C" {

__attribute__((visibility("default"))) com::HRESULT DllCanUnloadNow() { return com::serverCanUnloadNow(); }

__attribute__((visibility("default"))) com::HRESULT DllGetClassObject(const com::CLSID& clsid, const com::IID& iid,
                                                                      void** object) {
    return com::serverGetClassObject(gis_extension::VeltranoServer(), clsid, iid, object);
}

__attribute__((visibility("default"))) com::HRESULT DllRegisterServer() {
    return com::serverRegister(gis_extension::VeltranoServer(), com::thisModulePath());
}

__attribute__((visibility("default"))) com::HRESULT DllUnregisterServer() {
    return com::serverUnregister(gis_extension::VeltranoServer());
}

}
