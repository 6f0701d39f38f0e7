#include "com/Creation.h"

#include <dlfcn.h>

#include <map>
#include <mutex>

#include "sysutils/NonRegularFiles.h"
#include "winapi/Registry.h"

namespace com {
namespace {

using GetClassObjectFunction = HRESULT (*)(const CLSID&, const IID&, void**);

Error cannotCreate(const CLSID& clsid, const std::string& cause) {
    return Error(errors::CannotCreateObject, "",
                 runtimeErrorDescription(errors::CannotCreateObject) + ": " + toString(clsid) + ": " + cause);
}

// Loaded servers stay loaded for the life of the process: objects and factories they
// handed out may live as long.
GetClassObjectFunction serverEntry(const CLSID& clsid, const std::string& path) {
    static std::mutex mutex;
    static std::map<std::string, GetClassObjectFunction> loaded;
    std::lock_guard lock(mutex);
    if (const auto found = loaded.find(path); found != loaded.end()) return found->second;
    // The loader would wait for ever on a pipe: refuse what is no file before it opens it.
    if (const std::optional<std::string> special = sysutils::nonRegularFileReason(path))
        throw cannotCreate(clsid, "cannot load " + path + ": " + *special);
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* why = ::dlerror();
        throw cannotCreate(clsid, "cannot load " + path + (why != nullptr ? std::string(": ") + why : std::string()));
    }
    auto entry = reinterpret_cast<GetClassObjectFunction>(::dlsym(library, "DllGetClassObject"));
    if (entry == nullptr) throw cannotCreate(clsid, path + " is not a component server");
    loaded.emplace(path, entry);
    return entry;
}

}  // namespace

std::optional<CLSID> CLSIDFromProgID(const std::string& progId) {
    if (std::optional<CLSID> fromTable = tableCLSIDFromProgID(progId)) return fromTable;
    if (progId.empty()) return std::nullopt;
    const std::optional<std::string> text = winapi::registry::readString(winapi::HKEY_CLASSES_ROOT, progId + "\\CLSID", "");
    return text ? parseGuid(*text) : std::nullopt;
}

std::optional<CLSID> classNamed(const std::string& progIdOrClsid) {
    if (!progIdOrClsid.empty() && progIdOrClsid.front() == '{') return parseGuid(progIdOrClsid);
    return CLSIDFromProgID(progIdOrClsid);
}

ComPtr<IClassFactory> classFactoryOf(const CLSID& clsid) {
    if (ComPtr<IClassFactory> fromTable = tableClassFactory(clsid)) return fromTable;
    const std::optional<std::string> path = winapi::registry::readString(
        winapi::HKEY_CLASSES_ROOT, "CLSID\\" + toString(clsid) + "\\InprocServer32", "");
    if (!path || path->empty()) throw cannotCreate(clsid, "the class is not registered");
    const GetClassObjectFunction entry = serverEntry(clsid, *path);
    ComPtr<IClassFactory> factory;
    const HRESULT result = entry(clsid, IClassFactory::iid, factory.put());
    if (FAILED(result) || !factory) throw cannotCreate(clsid, *path + " does not serve the class");
    return factory;
}

ComPtr<IUnknown> createInstance(const CLSID& clsid) {
    ComPtr<IClassFactory> factory = classFactoryOf(clsid);
    ComPtr<IUnknown> object;
    const HRESULT result = factory->CreateInstance(nullptr, IUnknown::iid, object.put());
    if (FAILED(result) || !object) throw cannotCreate(clsid, "the class factory refused");
    return object;
}

}  // namespace com
