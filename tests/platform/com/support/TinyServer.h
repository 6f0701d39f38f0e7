#pragma once
// A tiny in-process server for the tests of the component run-time: one creatable class
// "Tiny.Counter" with one interface, and a type library that describes it.
#include "com/IUnknown.h"

namespace tiny {

inline constexpr com::CLSID CLSID_Counter = com::guid("{5B0C4E1A-9D8F-4C21-A7E3-0F6B2D9C1E44}");
inline constexpr com::GUID LIBID_Tiny = com::guid("{5B0C4E1A-9D8F-4C21-A7E3-0F6B2D9C1E40}");

struct ICounter : com::IDispatch {
    static constexpr com::IID iid = com::guid("{5B0C4E1A-9D8F-4C21-A7E3-0F6B2D9C1E45}");
    using Base = com::IDispatch;
    virtual int Next() = 0;

protected:
    ~ICounter() = default;
};

}  // namespace tiny
