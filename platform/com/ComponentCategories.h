#pragma once
// Component categories: a host learns which registered classes it must create as, for
// example, its toolbar definitions, commands or extensions from the categories the
// classes are enrolled in. Under HKEY_CLASSES_ROOT a category is
// "Component Categories\{category}" (value "409": its description) and an enrolled
// class has the key "CLSID\{clsid}\Implemented Categories\{category}".
#include <string>
#include <vector>

#include "com/Guid.h"

namespace com {

// Records the category and its description; false when the registry cannot be written.
bool registerCategory(const GUID& category, const std::string& description);
// Enrols a class in a category; false when the registry cannot be written.
bool enrolClassInCategory(const CLSID& clsid, const GUID& category);
// Withdraws a class from a category (true also when it was not enrolled).
bool withdrawClassFromCategory(const CLSID& clsid, const GUID& category);
// The classes enrolled in a category, in the order of their identifiers.
std::vector<CLSID> classesInCategory(const GUID& category);

}  // namespace com
