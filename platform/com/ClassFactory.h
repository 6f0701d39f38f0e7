#pragma once
// The class factory of an implementation class T: every request creates a new T
// (no singleton) and answers the interface asked for.
#include <new>

#include "com/Object.h"

namespace com {

template <class T>
class ClassFactory final : public Object<IClassFactory> {
public:
    HRESULT CreateInstance(IUnknown* outer, const IID& id, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        T* created = new (std::nothrow) T();
        if (created == nullptr) return E_OUTOFMEMORY;
        created->AddRef();
        const HRESULT result = created->QueryInterface(id, object);
        created->Release();
        return result;
    }
    HRESULT LockServer(bool lock) override {
        if (lock) {
            lockModule();
        } else {
            unlockModule();
        }
        return S_OK;
    }
};

template <class T>
ComPtr<IClassFactory> classFactory() {
    return make<IClassFactory, ClassFactory<T>>();
}

}  // namespace com
