#include "com/InprocServer.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>

#include "com/TypeLibrary.h"
#include "winapi/Registry.h"

namespace com {
namespace {

using winapi::HKEY_CLASSES_ROOT;
namespace registry = winapi::registry;

// The standard marshaller of automation interfaces.
constexpr CLSID automationMarshaller = guid("{00020424-0000-0000-C000-000000000046}");

std::string versionText(const TypeLibrary::Version& version) {
    return std::to_string(version.major) + "." + std::to_string(version.minor);
}

bool writeClass(const ServerClass& serverClass, const TypeLibrary& library, const std::string& modulePath,
                const std::string& threadingModel) {
    const std::string key = "CLSID\\" + toString(serverClass.clsid);
    const std::string libraryId = toString(library.libraryId);
    return registry::writeString(HKEY_CLASSES_ROOT, key, "", serverClass.progId) &&
           registry::writeString(HKEY_CLASSES_ROOT, key + "\\InprocServer32", "", modulePath) &&
           registry::writeString(HKEY_CLASSES_ROOT, key + "\\InprocServer32", "ThreadingModel", threadingModel) &&
           registry::writeString(HKEY_CLASSES_ROOT, key + "\\ProgID", "", serverClass.progId) &&
           registry::writeString(HKEY_CLASSES_ROOT, key + "\\VERSION", "", versionText(library.version)) &&
           registry::writeString(HKEY_CLASSES_ROOT, key + "\\TypeLib", "", libraryId) &&
           registry::createKey(HKEY_CLASSES_ROOT, key + "\\Programmable") &&
           registry::writeString(HKEY_CLASSES_ROOT, serverClass.progId, "", serverClass.progId) &&
           registry::writeString(HKEY_CLASSES_ROOT, serverClass.progId + "\\CLSID", "", toString(serverClass.clsid));
}

bool writeTypeLibraryKeys(const TypeLibrary& library, const std::string& modulePath) {
    const std::string key = "TypeLib\\" + toString(library.libraryId) + "\\" + versionText(library.version);
    const std::string folder = std::filesystem::path(modulePath).parent_path().string();
    if (!registry::writeString(HKEY_CLASSES_ROOT, key, "", library.name) ||
        !registry::writeString(HKEY_CLASSES_ROOT, key + "\\0\\linux64", "", modulePath) ||
        !registry::writeString(HKEY_CLASSES_ROOT, key + "\\FLAGS", "", "0") ||
        !registry::writeString(HKEY_CLASSES_ROOT, key + "\\HELPDIR", "", folder))
        return false;
    for (const TypeLibrary::Interface& interface : library.interfaces) {
        const std::string interfaceKey = "Interface\\" + toString(interface.iid);
        if (!registry::writeString(HKEY_CLASSES_ROOT, interfaceKey, "", interface.name) ||
            !registry::writeString(HKEY_CLASSES_ROOT, interfaceKey + "\\ProxyStubClsid32", "",
                                   toString(automationMarshaller)) ||
            !registry::writeString(HKEY_CLASSES_ROOT, interfaceKey + "\\TypeLib", "", toString(library.libraryId)) ||
            !registry::writeString(HKEY_CLASSES_ROOT, interfaceKey + "\\TypeLib", "Version",
                                   versionText(library.version)))
            return false;
    }
    return true;
}

bool removeKeys(const ServerDescription& description, const TypeLibrary* library) {
    bool removed = true;
    for (const ServerClass& serverClass : description.classes) {
        removed = registry::deleteTree(HKEY_CLASSES_ROOT, "CLSID\\" + toString(serverClass.clsid)) && removed;
        removed = registry::deleteTree(HKEY_CLASSES_ROOT, serverClass.progId) && removed;
    }
    if (library != nullptr) {
        removed = registry::deleteTree(HKEY_CLASSES_ROOT, "TypeLib\\" + toString(library->libraryId)) && removed;
        for (const TypeLibrary::Interface& interface : library->interfaces)
            removed = registry::deleteTree(HKEY_CLASSES_ROOT, "Interface\\" + toString(interface.iid)) && removed;
    }
    return removed;
}

}  // namespace

HRESULT serverGetClassObject(const ServerDescription& description, const CLSID& clsid, const IID& id, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    const auto found = std::find_if(description.classes.begin(), description.classes.end(),
                                    [&](const ServerClass& serverClass) { return serverClass.clsid == clsid; });
    if (found == description.classes.end()) return CLASS_E_CLASSNOTAVAILABLE;
    ComPtr<IClassFactory> factory = found->factory();
    if (!factory) return E_OUTOFMEMORY;
    return factory->QueryInterface(id, object);
}

HRESULT serverRegister(const ServerDescription& description, const std::string& modulePath) {
    TypeLibrary library;
    try {
        library = readTypeLibrary(description.typeLibrary);
    } catch (const Error&) {
        return SELFREG_E_TYPELIB;
    }
    // Every class must be a coclass of the type library, or the registration would lie.
    for (const ServerClass& serverClass : description.classes) {
        const bool described = std::any_of(library.coclasses.begin(), library.coclasses.end(),
                                           [&](const TypeLibrary::Coclass& coclass) {
                                               return coclass.clsid == serverClass.clsid &&
                                                      coclass.name == serverClass.name;
                                           });
        if (!described || serverClass.progId.empty()) return SELFREG_E_CLASS;
    }
    for (const ServerClass& serverClass : description.classes) {
        if (!writeClass(serverClass, library, modulePath, description.threadingModel)) {
            removeKeys(description, &library);
            return SELFREG_E_CLASS;
        }
    }
    if (!writeTypeLibraryKeys(library, modulePath)) {
        removeKeys(description, &library);
        return SELFREG_E_TYPELIB;
    }
    return S_OK;
}

HRESULT serverUnregister(const ServerDescription& description) {
    TypeLibrary library;
    bool haveLibrary = true;
    try {
        library = readTypeLibrary(description.typeLibrary);
    } catch (const Error&) {
        haveLibrary = false;
    }
    if (!removeKeys(description, haveLibrary ? &library : nullptr)) return SELFREG_E_CLASS;
    return haveLibrary ? S_OK : SELFREG_E_TYPELIB;
}

std::string modulePathOf(const void* address) {
    Dl_info information{};
    if (::dladdr(address, &information) == 0 || information.dli_fname == nullptr) return {};
    char resolved[PATH_MAX];
    if (::realpath(information.dli_fname, resolved) != nullptr) return resolved;
    return information.dli_fname;
}

}  // namespace com
