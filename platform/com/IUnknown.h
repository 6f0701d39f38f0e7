#pragma once
// The root interfaces of the component run-time. An interface is an abstract class
// with its identifier `iid` and its direct base `Base`; an object answers
// QueryInterface for each interface it implements and for their bases.
#include <cstdint>

#include "com/Guid.h"
#include "com/HResult.h"

namespace com {

struct IUnknown {
    static constexpr IID iid = guid("{00000000-0000-0000-C000-000000000046}");

    virtual HRESULT QueryInterface(const IID& id, void** object) = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

// The automation base of dual interfaces. Late binding is not offered: the interface
// only marks objects that scripts could reach.
struct IDispatch : IUnknown {
    static constexpr IID iid = guid("{00020400-0000-0000-C000-000000000046}");
    using Base = IUnknown;

protected:
    ~IDispatch() = default;
};

struct IClassFactory : IUnknown {
    static constexpr IID iid = guid("{00000001-0000-0000-C000-000000000046}");
    using Base = IUnknown;

    // A new object of the factory's class, answering `id`. `outer` must be null.
    virtual HRESULT CreateInstance(IUnknown* outer, const IID& id, void** object) = 0;
    // Keeps the server loaded while locked.
    virtual HRESULT LockServer(bool lock) = 0;

protected:
    ~IClassFactory() = default;
};

// True when an object implementing interface I answers QueryInterface for `id`.
template <class I>
constexpr bool answers(const IID& id) {
    if (id == I::iid) return true;
    if constexpr (requires { typename I::Base; }) {
        static_assert(!(I::iid == I::Base::iid), "an interface must declare its own iid");
        return answers<typename I::Base>(id);
    } else {
        return false;
    }
}

}  // namespace com
