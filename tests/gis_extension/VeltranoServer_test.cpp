// The plug-in as the host's installation and the host see it, through its shared
// library: registration and what it writes, the type library and version information
// it carries, creation of its classes through the registry, its unload answer, refusal
// of other classes, the symbols it exports, and unregistration that leaves no key.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QImage>

#include "com/Creation.h"
#include "com/TypeLibrary.h"
#include "com/VersionInformation.h"
#include "forms/IErrorReport.h"
#include "forms/Picture.h"
#include "gis_toolkit/support/RecordingErrorReport.h"
#include "gishost/Framework.h"
#include "support/RegistryKeys.h"
#include "support/ScopedEnvironment.h"
#include "winapi/Registry.h"

namespace {

using com::HRESULT;

struct Library {
    Library() : handle(::dlopen(VELTRANO_INPUTS_PATH, RTLD_NOW | RTLD_LOCAL)) {}
    ~Library() {
        if (handle != nullptr) ::dlclose(handle);
    }
    template <class Function>
    Function* entry(const char* name) const {
        return reinterpret_cast<Function*>(::dlsym(handle, name));
    }
    void* handle;
};

struct ServerClass {
    std::string name;
    std::string clsid;
    std::string progId;
    std::string defaultInterface;
    std::string defaultIid;
    std::string hostInterface;
    std::string hostIid;
};

const std::vector<ServerClass> classes = {
    {"clsToolBar", "{F25B4313-8895-43AE-A320-8262600ED714}", "Veltrano.clsToolBar", "_clsToolBar",
     "{6B842D07-C277-4B86-B1A0-E88C2585E949}", "IToolBarDef", "{61B318F0-CDA0-11D1-B9A8-080009EE4E51}"},
    {"cmdWithinDistance", "{E66B3CE2-5474-477E-8846-511D81E27033}", "Veltrano.cmdWithinDistance",
     "_cmdWithinDistance", "{7A5D3FB5-E917-4057-B2F5-1795B053DD4A}", "ICommand",
     "{36B06538-4437-11D1-B970-080009EE4E51}"},
    {"clsManual", "{DE890070-76AD-4C9F-BC55-BEFF602CA0A8}", "Veltrano.clsManual", "_clsManual",
     "{F20263F6-F781-4794-BF1C-015ED8657501}", "ICommand", "{36B06538-4437-11D1-B970-080009EE4E51}"},
    {"clsExtension", "{3645C76C-F3EA-47CB-B5D8-27A4DA04926D}", "Veltrano.clsExtension", "_clsExtension",
     "{8E6C04AB-72D1-4566-A5A6-17A66376BE8E}", "IExtension", "{7F657EC9-DBF1-11D2-9F2F-00C04F6BC69E}"},
};

const com::GUID libraryId = com::guid("{C0E9F73D-2332-4165-9A35-C631CAEAE4DB}");

TEST(VeltranoServer, CarriesItsTypeLibraryWithFourClassesAndTheirDefaultInterfaces) {
    const com::TypeLibrary library = com::loadTypeLibrary(VELTRANO_INPUTS_PATH);
    EXPECT_EQ(library.name, "Veltrano");
    EXPECT_EQ(library.libraryId, libraryId);
    EXPECT_EQ(library.version, (com::TypeLibrary::Version{1, 0}));
    EXPECT_EQ(library.locale, 0x409u);
    ASSERT_EQ(library.imports.size(), 4u);
    EXPECT_EQ(library.imports[0].libraryId, com::guid("{00020430-0000-0000-C000-000000000046}"));
    EXPECT_EQ(library.imports[0].version, (com::TypeLibrary::Version{2, 0}));
    EXPECT_EQ(library.imports[1].libraryId, com::guid("{4ECCA6E2-B16B-4ACA-BD17-E74CAE4C150A}"));
    EXPECT_EQ(library.imports[2].libraryId, com::guid("{45AC68FF-DEFF-4884-B3A9-7D882EDCAEF1}"));
    EXPECT_EQ(library.imports[3].libraryId, com::guid("{5E1F7BC3-67C5-4AEE-8EC6-C4B73AAC42ED}"));

    ASSERT_EQ(library.coclasses.size(), 4u);
    ASSERT_EQ(library.interfaces.size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        const ServerClass& expected = classes[k];
        const com::TypeLibrary::Coclass& coclass = library.coclasses[k];
        EXPECT_EQ(coclass.name, expected.name);
        EXPECT_EQ(coclass.clsid, *com::parseGuid(expected.clsid));
        EXPECT_EQ(coclass.flags, std::vector<std::string>{"creatable"});
        ASSERT_EQ(coclass.interfaces.size(), 2u) << expected.name;
        EXPECT_EQ(coclass.interfaces[0], (com::TypeLibrary::Implemented{expected.defaultInterface,
                                                                        *com::parseGuid(expected.defaultIid), {"default"}}));
        EXPECT_EQ(coclass.interfaces[1],
                  (com::TypeLibrary::Implemented{expected.hostInterface, *com::parseGuid(expected.hostIid), {}}));
        const com::TypeLibrary::Interface& interface = library.interfaces[k];
        EXPECT_EQ(interface.name, expected.defaultInterface);
        EXPECT_EQ(interface.iid, *com::parseGuid(expected.defaultIid));
        EXPECT_EQ(interface.base, "IDispatch");
        EXPECT_EQ(interface.flags, (std::vector<std::string>{"hidden", "dual", "nonextensible", "oleautomation"}));
        EXPECT_EQ(interface.members.empty(), k != 3) << expected.name;
    }

    // _clsExtension: two accessors per property, the write accessor first, one dispatch
    // identifier per property; the layer is set by reference.
    const std::vector<com::TypeLibrary::Member>& members = library.interfaces[3].members;
    const std::vector<std::string> properties = {"ReportOfAnalysis", "DistanceLimit",   "CalcNumberDBase",
                                                 "CalcDistanceDBase", "CalcDistanceASCII", "SelectedLayer",
                                                 "DirectoryPath",    "FieldName",        "AttributeFieldName",
                                                 "CalcAllFeatures",  "ShouldContinue"};
    ASSERT_EQ(members.size(), 22u);
    std::set<std::int32_t> dispatchIds;
    for (std::size_t p = 0; p < properties.size(); ++p) {
        const com::TypeLibrary::Member& write = members[2 * p];
        const com::TypeLibrary::Member& read = members[2 * p + 1];
        EXPECT_EQ(write.name, properties[p]);
        EXPECT_EQ(read.name, properties[p]);
        EXPECT_EQ(write.kind, properties[p] == "SelectedLayer" ? "propputref" : "propput");
        EXPECT_EQ(read.kind, "propget");
        EXPECT_EQ(write.dispatchId, read.dispatchId);
        EXPECT_EQ(write.type, read.type);
        dispatchIds.insert(read.dispatchId);
    }
    EXPECT_EQ(dispatchIds.size(), properties.size());
}

TEST(VeltranoServer, CarriesItsVersionInformation) {
    const com::VersionInformation version = com::loadVersionInformation(VELTRANO_INPUTS_PATH);
    EXPECT_EQ(version.fileVersion, (com::VersionInformation::Version{1, 0, 0, 96}));
    EXPECT_EQ(version.productVersion, (com::VersionInformation::Version{1, 0, 0, 96}));
    EXPECT_EQ(version.text("FileVersion"), "1.00.0096");
    EXPECT_EQ(version.text("ProductVersion"), "1.00.0096");
    EXPECT_EQ(version.text("ProductName"), "Veltrano");
    EXPECT_EQ(version.text("InternalName"), "Veltrano_inputs");
    EXPECT_EQ(version.text("OriginalFilename"), "Veltrano_inputs.dll");
    EXPECT_EQ(version.text("OLESelfRegister"), "");
}

TEST(VeltranoServer, ExportsOnlyTheFourEntryPoints) {
    Library library;
    ASSERT_NE(library.handle, nullptr) << ::dlerror();
    for (const char* name : {"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer"})
        EXPECT_NE(::dlsym(library.handle, name), nullptr) << name;
    // The server description and the toolkit stay inside.
    for (const char* name : {"_ZN13gis_extension14VeltranoServerEv", "_ZN11gis_toolkit13ErrorHandling12StackStartedE"})
        EXPECT_EQ(::dlsym(library.handle, name), nullptr) << name;
}

TEST(VeltranoServer, RegistersCreatesAndUnregistersItsFourClasses) {
    testing_support::ScopedRegistry registry;
    testing_support::RecordingErrorReport reports;
    Library library;
    ASSERT_NE(library.handle, nullptr) << ::dlerror();
    auto* registerServer = library.entry<HRESULT()>("DllRegisterServer");
    auto* unregisterServer = library.entry<HRESULT()>("DllUnregisterServer");
    auto* canUnloadNow = library.entry<HRESULT()>("DllCanUnloadNow");
    auto* getClassObject = library.entry<HRESULT(const com::CLSID&, const com::IID&, void**)>("DllGetClassObject");
    ASSERT_TRUE(registerServer && unregisterServer && canUnloadNow && getClassObject);

    ASSERT_EQ(registerServer(), com::S_OK);
    for (const ServerClass& serverClass : classes) {
        EXPECT_EQ(com::CLSIDFromProgID(serverClass.progId), com::parseGuid(serverClass.clsid)) << serverClass.progId;
        const std::string key = "CLSID\\" + serverClass.clsid + "\\InprocServer32";
        EXPECT_EQ(winapi::registry::readString(winapi::HKEY_CLASSES_ROOT, key, ""), std::string(VELTRANO_INPUTS_PATH));
        EXPECT_EQ(winapi::registry::readString(winapi::HKEY_CLASSES_ROOT, key, "ThreadingModel"), "Apartment");
    }

    EXPECT_EQ(canUnloadNow(), com::S_OK);
    {
        const auto toolbar = com::CreateObject<gishost::IToolBarDef>("Veltrano.clsToolBar");
        EXPECT_EQ(toolbar->Name(), "Veltrano_IDToolBar");
        const auto command = com::CreateObject<gishost::ICommand>("Veltrano.cmdWithinDistance");
        EXPECT_EQ(command->Caption(), "ID Within Distance");
        EXPECT_EQ(forms::pictureByHandle(command->Bitmap()).size(), QSize(16, 16));
        EXPECT_EQ(com::CreateObject<gishost::ICommand>("Veltrano.clsManual")->Caption(), "Open Documentation");
        EXPECT_EQ(com::CreateObject<gishost::IExtension>("Veltrano.clsExtension")->Name(),
                  "Veltrano - ID Within Distance");
        EXPECT_EQ(canUnloadNow(), com::S_FALSE);
    }
    EXPECT_EQ(canUnloadNow(), com::S_OK);

    // Only the four classes come out of the library: not its forms, nor other classes.
    for (const com::CLSID& other : {libraryId, forms::CLSID_ErrorReportWindow, gishost::CLSID_CatalogBrowser}) {
        com::ComPtr<com::IClassFactory> factory;
        EXPECT_EQ(getClassObject(other, com::IClassFactory::iid, factory.put()), com::CLASS_E_CLASSNOTAVAILABLE);
        EXPECT_FALSE(factory);
    }

    ASSERT_EQ(unregisterServer(), com::S_OK);
    const std::vector<std::string> keys = testing_support::registryKeysBelow(winapi::HKEY_CLASSES_ROOT);
    std::vector<std::string> own = {com::toString(libraryId)};
    for (const ServerClass& serverClass : classes)
        own.insert(own.end(), {serverClass.clsid, serverClass.progId, serverClass.defaultIid});
    for (const std::string& key : keys)
        for (const std::string& identifier : own) EXPECT_EQ(key.find(identifier), std::string::npos) << key;
    EXPECT_EQ(com::CLSIDFromProgID("Veltrano.clsToolBar"), std::nullopt);
    EXPECT_TRUE(reports.shown().empty());
}

}  // namespace
