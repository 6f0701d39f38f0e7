#pragma once
// The abstract iterator over the engine's lists: seven operations, implemented by
// IteradorLlista for Llista.
#include <memory>

namespace engine {

template <class T>
class Iterador {
public:
    virtual ~Iterador() = default;
    virtual void first() = 0;
    virtual void toEnd() = 0;
    virtual void next() = 0;
    // A new iterator at the current position; this one moves on by one.
    virtual std::unique_ptr<Iterador<T>> postIncrement() = 0;
    virtual T& current() = 0;
    virtual bool atEnd() const = 0;
    virtual bool atStart() const = 0;
};

}  // namespace engine
