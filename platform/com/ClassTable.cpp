#include "com/ClassTable.h"

#include <map>
#include <mutex>
#include <utility>

namespace com {
namespace {

struct Entry {
    std::string progId;
    ComPtr<IClassFactory> factory;
};

std::mutex tableMutex;
std::map<CLSID, Entry>& table() {
    static auto* entries = new std::map<CLSID, Entry>;  // never destroyed: factories may outlive static destruction
    return *entries;
}

bool sameProgId(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

void registerClass(const CLSID& clsid, const std::string& progId, ComPtr<IClassFactory> factory) {
    std::lock_guard lock(tableMutex);
    table().insert_or_assign(clsid, Entry{progId, std::move(factory)});
}

void unregisterClass(const CLSID& clsid) {
    std::lock_guard lock(tableMutex);
    table().erase(clsid);
}

ComPtr<IClassFactory> tableClassFactory(const CLSID& clsid) {
    std::lock_guard lock(tableMutex);
    const auto found = table().find(clsid);
    return found == table().end() ? ComPtr<IClassFactory>() : found->second.factory;
}

std::optional<CLSID> tableCLSIDFromProgID(const std::string& progId) {
    if (progId.empty()) return std::nullopt;
    std::lock_guard lock(tableMutex);
    for (const auto& [clsid, entry] : table())
        if (sameProgId(entry.progId, progId)) return clsid;
    return std::nullopt;
}

ScopedClassRegistration::ScopedClassRegistration(const CLSID& clsid, const std::string& progId,
                                                 ComPtr<IClassFactory> factory)
    : clsid_(clsid) {
    std::lock_guard lock(tableMutex);
    if (const auto found = table().find(clsid); found != table().end()) {
        previousProgId_ = found->second.progId;
        previous_ = found->second.factory;
    }
    table().insert_or_assign(clsid, Entry{progId, std::move(factory)});
}

ScopedClassRegistration::~ScopedClassRegistration() {
    std::lock_guard lock(tableMutex);
    if (previous_) {
        table().insert_or_assign(clsid_, Entry{previousProgId_, previous_});
    } else {
        table().erase(clsid_);
    }
}

}  // namespace com
