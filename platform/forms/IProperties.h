#pragma once
// Properties reached by name at run time, the way script code reaches a control's
// "Left" or "Container" without knowing its class. Forms and controls answer it; their
// lifetime is their form's, so a reference does not keep them alive.
#include <string>

#include "com/Error.h"
#include "com/IUnknown.h"
#include "com/Variant.h"

namespace forms {

struct IProperties : com::IDispatch {
    static constexpr com::IID iid = com::guid("{6E0F3B52-8C1D-4A57-9E2B-3F4D5A6B7C81}");
    using Base = com::IDispatch;

    // The property's value; an object-valued property ("Container") holds the object.
    // An unknown name raises 438.
    virtual com::Variant property(const std::string& name) = 0;
    // Sets the property; an unknown name raises 438, a value the object refuses 380
    // (or 6 for a number too large for it).
    virtual void setProperty(const std::string& name, const com::Variant& value) = 0;

protected:
    ~IProperties() = default;
};

namespace errors {
inline constexpr std::int32_t InvalidPropertyValue = 380;
inline constexpr std::int32_t PropertyNotSupported = 438;
inline constexpr std::int32_t PrinterUnavailable = 484;
}  // namespace errors

inline com::Error unknownProperty(const std::string& name) {
    return com::Error(errors::PropertyNotSupported, "",
                      "Object doesn't support this property or method (" + name + ")");
}
inline com::Error invalidPropertyValue() {
    return com::Error(errors::InvalidPropertyValue, "", "Invalid property value");
}

}  // namespace forms
