#pragma once
// The host's general-purpose objects: an ordered array of objects, cloning, the list
// of templates of the running application, and identifiers of classes. Headers only:
// the plug-in includes them and reaches the objects through the host.
#include <cstdint>
#include <string>

#include "com/ComPtr.h"
#include "com/Guid.h"
#include "com/IUnknown.h"

// The window handle of the system services (as winapi/Windows.h declares it), without
// their header, whose TRUE and FALSE would meet GDAL's macros of those names.
namespace winapi {
class Window;
using HWND = Window*;
}  // namespace winapi

namespace gishost {

// An ordered list of objects, counted from 0. A position outside 0 .. Count - 1 raises
// the host's error.
struct IArray : com::IUnknown {
    static constexpr com::IID iid = com::guid("{3A10189D-0377-4DDF-8C05-A2672AF6A403}");
    using Base = com::IUnknown;

    virtual std::int32_t Count() = 0;
    virtual com::ComPtr<com::IUnknown> Element(std::int32_t index) = 0;
    // Appends one object (an empty reference too).
    virtual void Add(const com::ComPtr<com::IUnknown>& object) = 0;
    virtual void Remove(std::int32_t index) = 0;
    virtual void RemoveAll() = 0;

protected:
    ~IArray() = default;
};

// An object that copies itself: the copy has the same definition and is independent.
struct IClone : com::IUnknown {
    static constexpr com::IID iid = com::guid("{735F9BEF-8E78-4FBD-9A9E-10CAA05A95C0}");
    using Base = com::IUnknown;

    virtual com::ComPtr<IClone> Clone() = 0;

protected:
    ~IClone() = default;
};

// The application's template list: the documents it was started from, the open
// document's path last. Items are counted from 0.
struct ITemplates : com::IUnknown {
    static constexpr com::IID iid = com::guid("{9478D46D-C173-4D4F-BE5E-15A70F3C3484}");
    using Base = com::IUnknown;

    virtual std::int32_t Count() = 0;
    virtual std::string Item(std::int32_t index) = 0;

protected:
    ~ITemplates() = default;
};

// An identifier of a class or interface: its value is a ProgID or a "{...}" text.
struct IUID : com::IUnknown {
    static constexpr com::IID iid = com::guid("{20EA53E7-1B8F-4BAC-89E6-DCFC91E10755}");
    using Base = com::IUnknown;

    virtual std::string Value() = 0;
    virtual void put_Value(const std::string& value) = 0;

protected:
    ~IUID() = default;
};

// Classes that callers create by class identifier.
inline constexpr com::CLSID CLSID_Array = com::guid("{D85701DC-D9B8-42BA-B653-2A9E3A819ECA}");
inline constexpr com::CLSID CLSID_UID = com::guid("{84CAB23D-133A-4AD7-AF9A-0C42901A29F2}");

}  // namespace gishost
