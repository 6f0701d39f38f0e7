#pragma once
// The implementation side of interfaces: Object<I1, I2, ...> gives a class the
// reference count and QueryInterface for the interfaces it implements (and their
// bases), and counts it among the live objects of its module, so that a shared
// library knows when it may be unloaded. make<T>(...) creates an object and returns
// its first reference.
#include <atomic>
#include <cstdint>
#include <utility>

#include "com/ComPtr.h"
#include "com/IUnknown.h"

namespace com {

namespace detail {
// Live objects and factory locks of the module (program or shared library) that
// compiles this header: hidden, so that every module keeps its own count.
__attribute__((visibility("hidden"))) inline std::atomic<long> moduleReferences{0};
}  // namespace detail

// The module's live objects plus its factory locks.
__attribute__((visibility("hidden"))) inline long moduleReferenceCount() { return detail::moduleReferences.load(); }
__attribute__((visibility("hidden"))) inline void lockModule() { ++detail::moduleReferences; }
__attribute__((visibility("hidden"))) inline void unlockModule() { --detail::moduleReferences; }

template <class First, class... Rest>
class Object : public First, public Rest... {
public:
    HRESULT QueryInterface(const IID& id, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (id == IUnknown::iid) {
            *object = static_cast<IUnknown*>(static_cast<First*>(this));
        } else if (!find<First, Rest...>(id, object)) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    std::uint32_t AddRef() override { return ++references_; }
    std::uint32_t Release() override {
        const std::uint32_t left = --references_;
        if (left == 0) delete this;
        return left;
    }

protected:
    Object() { lockModule(); }
    virtual ~Object() { unlockModule(); }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

private:
    template <class I, class... Others>
    bool find(const IID& id, void** object) {
        if (answers<I>(id)) {
            *object = static_cast<I*>(this);
            return true;
        }
        if constexpr (sizeof...(Others) > 0) return find<Others...>(id, object);
        return false;
    }

    std::atomic<std::uint32_t> references_{0};
};

// A new object of class T (an Object<...>) as a reference to its interface I.
template <class I, class T, class... Arguments>
ComPtr<I> make(Arguments&&... arguments) {
    return ComPtr<I>(static_cast<I*>(new T(std::forward<Arguments>(arguments)...)));
}

}  // namespace com
