#pragma once
// The process's class table: classes that the program provides itself, by class
// identifier and ProgID. A host registers its own creatable classes here at start-up;
// tests register stand-ins. Entries come before the registry when objects are created
// (Creation.h). One table per process: it lives in the run-time's shared library.
#include <optional>
#include <string>

#include "com/ComPtr.h"
#include "com/Guid.h"
#include "com/IUnknown.h"

namespace com {

// Adds or replaces the class. The ProgID may be empty.
void registerClass(const CLSID& clsid, const std::string& progId, ComPtr<IClassFactory> factory);
void unregisterClass(const CLSID& clsid);

// The factory of a class in the table, or an empty reference.
ComPtr<IClassFactory> tableClassFactory(const CLSID& clsid);
// The class identifier of a ProgID in the table (compared without regard to case).
std::optional<CLSID> tableCLSIDFromProgID(const std::string& progId);

// Registers a class for the lifetime of the object and restores what the table held
// for that class identifier before.
class ScopedClassRegistration {
public:
    ScopedClassRegistration(const CLSID& clsid, const std::string& progId, ComPtr<IClassFactory> factory);
    ~ScopedClassRegistration();
    ScopedClassRegistration(const ScopedClassRegistration&) = delete;
    ScopedClassRegistration& operator=(const ScopedClassRegistration&) = delete;

private:
    CLSID clsid_;
    std::string previousProgId_;
    ComPtr<IClassFactory> previous_;
};

}  // namespace com
