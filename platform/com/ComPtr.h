#pragma once
// A counted reference to an interface: copying adds a reference, destruction releases
// it. Using an empty reference throws the run-time's "Object variable ... not set"
// error instead of crashing, and as<I>() asks the object for another of its interfaces.
#include <cstddef>
#include <utility>

#include "com/Error.h"
#include "com/IUnknown.h"

namespace com {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference to `object`.
    explicit ComPtr(T* object) : object_(object) {
        if (object_ != nullptr) object_->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.object_) {}
    ComPtr(ComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    // A reference to a derived interface converts to one of its base.
    template <class U>
        requires std::is_convertible_v<U*, T*>
    ComPtr(const ComPtr<U>& other) : ComPtr(static_cast<T*>(other.get())) {}
    ~ComPtr() { reset(); }

    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }

    // Adopts a reference that the caller already holds (from a factory or QueryInterface).
    static ComPtr attach(T* object) {
        ComPtr result;
        result.object_ = object;
        return result;
    }
    // Gives up the reference without releasing it.
    T* detach() { return std::exchange(object_, nullptr); }

    void reset() {
        if (T* object = std::exchange(object_, nullptr)) object->Release();
    }

    T* get() const { return object_; }
    T* operator->() const {
        if (object_ == nullptr) throw runtimeError(errors::ObjectNotSet);
        return object_;
    }
    T& operator*() const { return *operator->(); }
    explicit operator bool() const { return object_ != nullptr; }

    // The address to receive a reference from a function with an out parameter.
    void** put() {
        reset();
        return reinterpret_cast<void**>(&object_);
    }

    // The object's interface I, or an empty reference when it does not implement it.
    template <class I>
    ComPtr<I> tryAs() const {
        ComPtr<I> result;
        if (object_ != nullptr && object_->QueryInterface(I::iid, result.put()) != S_OK) result.reset();
        return result;
    }
    // The object's interface I; an object that does not implement it raises "Type
    // mismatch". An empty reference stays empty.
    template <class I>
    ComPtr<I> as() const {
        if (object_ == nullptr) return {};
        ComPtr<I> result = tryAs<I>();
        if (!result) throw runtimeError(errors::TypeMismatch);
        return result;
    }

private:
    T* object_ = nullptr;
};

// True when both references lead to the same object (the identity of its IUnknown).
template <class A, class B>
bool sameObject(const ComPtr<A>& a, const ComPtr<B>& b) {
    if (!a || !b) return !a && !b;
    return a.template tryAs<IUnknown>().get() == b.template tryAs<IUnknown>().get();
}

}  // namespace com
