#pragma once
// Creating objects by class identifier or ProgID. A class is looked for first in the
// process's class table, where a program registers the classes it provides itself,
// then in the registry: the class identifier's in-process server is loaded (once per
// process) and asked for the class's factory through its DllGetClassObject.
// Failures raise the run-time's "Component can't create object" error, whose
// description names the class and the cause.
#include <optional>
#include <string>

#include "com/ClassTable.h"
#include "com/ComPtr.h"
#include "com/Guid.h"

namespace com {

// The class identifier of a ProgID (class table, then the registry's
// "<ProgID>\CLSID"), or nothing when none is known.
std::optional<CLSID> CLSIDFromProgID(const std::string& progId);

// The factory of a class: the class table's, else the registered server's.
ComPtr<IClassFactory> classFactoryOf(const CLSID& clsid);

// A new object of the class, as its IUnknown.
ComPtr<IUnknown> createInstance(const CLSID& clsid);

// A new object of the class named by a ProgID or written as "{...}", as interface I.
template <class I>
ComPtr<I> CreateObject(const std::string& progIdOrClsid);

// The class identifier that a text names: "{...}" itself, else a ProgID.
std::optional<CLSID> classNamed(const std::string& progIdOrClsid);

template <class I>
ComPtr<I> createInstanceAs(const CLSID& clsid) {
    return createInstance(clsid).template as<I>();
}

template <class I>
ComPtr<I> CreateObject(const std::string& progIdOrClsid) {
    const std::optional<CLSID> clsid = classNamed(progIdOrClsid);
    if (!clsid)
        throw Error(errors::CannotCreateObject, "", runtimeErrorDescription(errors::CannotCreateObject) + ": " +
                                                        progIdOrClsid + " is not a registered class");
    return createInstanceAs<I>(*clsid);
}

}  // namespace com
