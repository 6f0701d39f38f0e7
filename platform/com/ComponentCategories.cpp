#include "com/ComponentCategories.h"

#include "winapi/Registry.h"

namespace com {
namespace {

using winapi::HKEY_CLASSES_ROOT;
namespace registry = winapi::registry;

std::string enrolmentKey(const CLSID& clsid, const GUID& category) {
    return "CLSID\\" + toString(clsid) + "\\Implemented Categories\\" + toString(category);
}

}  // namespace

bool registerCategory(const GUID& category, const std::string& description) {
    return registry::writeString(HKEY_CLASSES_ROOT, "Component Categories\\" + toString(category), "409", description);
}

bool enrolClassInCategory(const CLSID& clsid, const GUID& category) {
    return registry::createKey(HKEY_CLASSES_ROOT, enrolmentKey(clsid, category));
}

bool withdrawClassFromCategory(const CLSID& clsid, const GUID& category) {
    const std::string categories = "CLSID\\" + toString(clsid) + "\\Implemented Categories";
    if (!registry::deleteTree(HKEY_CLASSES_ROOT, enrolmentKey(clsid, category))) return false;
    // The enrolment list goes when it is empty, so that withdrawing leaves no key behind.
    if (registry::keyExists(HKEY_CLASSES_ROOT, categories) && registry::subKeys(HKEY_CLASSES_ROOT, categories).empty())
        return registry::deleteTree(HKEY_CLASSES_ROOT, categories);
    return true;
}

std::vector<CLSID> classesInCategory(const GUID& category) {
    std::vector<CLSID> classes;
    const std::string wanted = toString(category);
    for (const std::string& name : registry::subKeys(HKEY_CLASSES_ROOT, "CLSID")) {
        const std::optional<CLSID> clsid = parseGuid(name);
        if (clsid && registry::keyExists(HKEY_CLASSES_ROOT, "CLSID\\" + name + "\\Implemented Categories\\" + wanted))
            classes.push_back(*clsid);
    }
    return classes;
}

}  // namespace com
