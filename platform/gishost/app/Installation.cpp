#include "gishost/app/Installation.h"

#include <dlfcn.h>

#include <cstdio>
#include <filesystem>

#include "com/ComponentCategories.h"
#include "com/Error.h"
#include "com/HResult.h"
#include "com/TypeLibrary.h"
#include "gishost/Framework.h"
#include "gishost/app/HostLocations.h"
#include "gishost/app/RegistryDamage.h"
#include "sysutils/NonRegularFiles.h"
#include "winapi/Registry.h"

namespace gishost::app {
namespace {

struct Category {
    com::GUID id;
    const char* description;
    com::IID implemented;
    const char* kind;  // with its article
};

const Category categories[] = {
    {CATID_ToolBars, CATID_ToolBarsDescription, IToolBarDef::iid, "a toolbar"},
    {CATID_Commands, CATID_CommandsDescription, ICommand::iid, "a command"},
    {CATID_Extensions, CATID_ExtensionsDescription, IExtension::iid, "an extension"},
};

std::string hresultText(com::HRESULT result) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned int>(result));
    return text;
}

bool implements(const com::TypeLibrary::Coclass& coclass, const com::IID& iid) {
    for (const com::TypeLibrary::Implemented& implemented : coclass.interfaces)
        if (implemented.iid == iid) return true;
    return false;
}

// The library opened, with its type library read, or a failed result saying why.
struct Library {
    std::string path;
    com::TypeLibrary types;
    void* handle = nullptr;
};

InstallationResult failure(std::string why) {
    InstallationResult result;
    result.error = std::move(why);
    return result;
}

// A registry that could not be read in full is never written: nothing can be done in it.
bool registryReadable(const char* nothingDone, InstallationResult& result) {
    const std::string damaged = damagedRegistryText();
    if (damaged.empty()) return true;
    result = failure(damaged + "\n" + nothingDone + ": the file is left as it is until it is repaired.");
    return false;
}

bool openLibrary(const std::string& given, Library& library, InstallationResult& result) {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::canonical(given, error);
    if (const std::optional<std::string> special = sysutils::nonRegularFileReason(given)) {
        result = failure("The plug-in library " + given + " cannot be loaded: " + *special);
        return false;
    }
    if (error || !std::filesystem::is_regular_file(path, error)) {
        result = failure("There is no plug-in library " + given);
        return false;
    }
    library.path = path.string();
    try {
        library.types = com::loadTypeLibrary(library.path);
    } catch (const com::Error& typeError) {
        result = failure(library.path + " carries no readable type library: " + typeError.Description);
        return false;
    }
    // The library stays loaded: a plug-in's static objects may live as long as the process.
    library.handle = ::dlopen(library.path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library.handle == nullptr) {
        const char* why = ::dlerror();
        result = failure("The plug-in library " + library.path + " cannot be loaded" +
                         (why != nullptr ? std::string(": ") + why : std::string()));
        return false;
    }
    return true;
}

// Calls DllRegisterServer or DllUnregisterServer.
bool callEntry(const Library& library, const char* entry, InstallationResult& result) {
    using Entry = com::HRESULT (*)();
    const auto function = reinterpret_cast<Entry>(::dlsym(library.handle, entry));
    if (function == nullptr) {
        result.error = library.path + " is not a self-registering component server: it has no " + entry;
        return false;
    }
    const com::HRESULT answer = function();
    if (answer != com::S_OK) {
        result.error = std::string(entry) + " of " + library.path + " failed with " + hresultText(answer);
        return false;
    }
    result.done.push_back(std::string(entry) + " of " + library.path + " succeeded");
    return true;
}

// Withdraws every class of the library from every category; false when the registry
// cannot be written.
bool withdrawAll(const Library& library, InstallationResult& result) {
    bool withdrawn = true;
    for (const com::TypeLibrary::Coclass& coclass : library.types.coclasses)
        for (const Category& category : categories) {
            if (!implements(coclass, category.implemented)) continue;
            if (com::withdrawClassFromCategory(coclass.clsid, category.id)) {
                result.done.push_back("Withdrew " + coclass.name + " " + com::toString(coclass.clsid) +
                                      " from the classes enrolled as " + category.kind);
            } else {
                withdrawn = false;
            }
        }
    return withdrawn;
}

}  // namespace

InstallationResult installPlugin(const std::string& libraryPath, const std::string& installFolder) {
    InstallationResult result;
    Library library;
    if (!registryReadable("Nothing was installed", result) || !openLibrary(libraryPath, library, result)) return result;
    if (!callEntry(library, "DllRegisterServer", result)) return result;
    for (const Category& category : categories) {
        if (!com::registerCategory(category.id, category.description)) {
            result.error = "The registry cannot be written";
            return result;
        }
    }
    for (const com::TypeLibrary::Coclass& coclass : library.types.coclasses) {
        for (const Category& category : categories) {
            if (!implements(coclass, category.implemented)) continue;
            if (!com::enrolClassInCategory(coclass.clsid, category.id)) {
                // Leave nothing half done: what was enrolled goes, and the library unregisters.
                InstallationResult undo;
                withdrawAll(library, undo);
                callEntry(library, "DllUnregisterServer", undo);
                result.error = "The registry cannot be written; the installation was undone";
                return result;
            }
            result.done.push_back("Enrolled " + coclass.name + " " + com::toString(coclass.clsid) + " as " +
                                  category.kind);
        }
    }
    if (!rememberInstallFolder(installFolder)) {
        result.error = "The registry cannot be written: the install folder was not recorded";
        return result;
    }
    result.done.push_back("Recorded the install folder " + installFolder);
    result.succeeded = true;
    return result;
}

InstallationResult uninstallPlugin(const std::string& libraryPath) {
    InstallationResult result;
    Library library;
    if (!registryReadable("Nothing was removed", result) || !openLibrary(libraryPath, library, result)) return result;
    if (!withdrawAll(library, result)) {
        result.error = "The registry cannot be written";
        return result;
    }
    if (!callEntry(library, "DllUnregisterServer", result)) return result;
    // A server that says it unregistered may have left its classes behind.
    for (const com::TypeLibrary::Coclass& coclass : library.types.coclasses) {
        const std::string key = "CLSID\\" + com::toString(coclass.clsid);
        if (winapi::registry::keyExists(winapi::HKEY_CLASSES_ROOT, key)) {
            result.error = "DllUnregisterServer of " + library.path + " left the class " + coclass.name +
                           " registered (" + key + ")";
            return result;
        }
    }
    result.succeeded = true;
    return result;
}

}  // namespace gishost::app
