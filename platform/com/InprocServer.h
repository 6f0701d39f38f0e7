#pragma once
// What an in-process component server (a shared library that a host loads) needs for
// its four C entry points:
//
//   extern "C" HRESULT DllCanUnloadNow()      -> com::serverCanUnloadNow()
//   extern "C" HRESULT DllGetClassObject(...) -> com::serverGetClassObject(description, ...)
//   extern "C" HRESULT DllRegisterServer()    -> com::serverRegister(description, com::thisModulePath())
//   extern "C" HRESULT DllUnregisterServer()  -> com::serverUnregister(description)
//
// COM_INPROC_SERVER_EXPORTS(description) defines all four, given an expression that
// yields the server's description. The description lists the server's creatable classes
// and carries its type library.
// Registration writes, under HKEY_CLASSES_ROOT, for every class
//   CLSID\{clsid} (the ProgID), with InprocServer32 (the library's path, ThreadingModel),
//     ProgID, VERSION, TypeLib and Programmable;
//   <ProgID> (the ProgID) with CLSID;
// for the type library TypeLib\{library id}\<version> (its name) with 0\linux64 (the
// path), FLAGS and HELPDIR; and for every interface the library defines
// Interface\{iid} (its name) with ProxyStubClsid32 and TypeLib. Unregistration removes
// exactly these keys.
#include <string>
#include <string_view>
#include <vector>

#include "com/ComPtr.h"
#include "com/Guid.h"
#include "com/HResult.h"
#include "com/IUnknown.h"
#include "com/Object.h"

namespace com {

struct ServerClass {
    std::string name;
    CLSID clsid;
    std::string progId;
    ComPtr<IClassFactory> (*factory)();
};

struct ServerDescription {
    std::vector<ServerClass> classes;
    std::string_view typeLibrary;  // the text form (TypeLibrary.h)
    std::string threadingModel = "Apartment";
};

HRESULT serverGetClassObject(const ServerDescription& description, const CLSID& clsid, const IID& id, void** object);
HRESULT serverRegister(const ServerDescription& description, const std::string& modulePath);
HRESULT serverUnregister(const ServerDescription& description);

// S_OK when no object of this module lives and no factory of it is locked, else S_FALSE.
__attribute__((visibility("hidden"))) inline HRESULT serverCanUnloadNow() {
    return moduleReferenceCount() == 0 ? S_OK : S_FALSE;
}

// The full path of the program or shared library that holds `address`.
std::string modulePathOf(const void* address);

// The full path of the program or shared library that compiles this header.
__attribute__((visibility("hidden"))) inline std::string thisModulePath() {
    return modulePathOf(reinterpret_cast<const void*>(&serverCanUnloadNow));
}

}  // namespace com

// The four entry points of an in-process server whose description `description` yields.
#define COM_INPROC_SERVER_EXPORTS(description)                                                              \
    extern "C" {                                                                                            \
    __attribute__((visibility("default"))) com::HRESULT DllCanUnloadNow() { return com::serverCanUnloadNow(); } \
    __attribute__((visibility("default"))) com::HRESULT DllGetClassObject(const com::CLSID& clsid,          \
                                                                          const com::IID& iid, void** object) { \
        return com::serverGetClassObject((description), clsid, iid, object);                                \
    }                                                                                                       \
    __attribute__((visibility("default"))) com::HRESULT DllRegisterServer() {                               \
        return com::serverRegister((description), com::thisModulePath());                                   \
    }                                                                                                       \
    __attribute__((visibility("default"))) com::HRESULT DllUnregisterServer() {                             \
        return com::serverUnregister((description));                                                       \
    }                                                                                                       \
    }
