#pragma once
// The component identity of an object that its form owns (a control, the form itself):
// QueryInterface answers interface I and its bases, while the reference count only
// counts; the owner ends the object, never its last reference.
#include <atomic>
#include <cstdint>

#include "com/IUnknown.h"

namespace forms {

template <class I>
class ContainedObject : public I {
public:
    com::HRESULT QueryInterface(const com::IID& id, void** object) override {
        if (object == nullptr) return com::E_POINTER;
        *object = nullptr;
        if (!com::answers<I>(id) && !(id == com::IUnknown::iid)) return com::E_NOINTERFACE;
        *object = static_cast<I*>(this);
        AddRef();
        return com::S_OK;
    }
    std::uint32_t AddRef() override { return ++references_; }
    std::uint32_t Release() override { return --references_; }

protected:
    ContainedObject() = default;
    ~ContainedObject() = default;
    ContainedObject(const ContainedObject&) = delete;
    ContainedObject& operator=(const ContainedObject&) = delete;

private:
    std::atomic<std::uint32_t> references_{0};
};

}  // namespace forms
