#pragma once
// The iterator of Llista. It stands on the node before the current element; it is
// at the end when the current element is the back sentinel.
#include <memory>

#include "engine/Iterador.h"
#include "engine/Llista.h"

namespace engine {

template <class T>
class IteradorLlista : public Iterador<T> {
public:
    explicit IteradorLlista(Llista<T>& walked) : list(&walked), before(walked.head) {}
    IteradorLlista(const IteradorLlista& other) = default;
    IteradorLlista& operator=(const IteradorLlista& other) = default;

    void first() override { before = list->head; }
    void toEnd() override { before = list->tail->prev; }
    void next() override { before = before->next; }

    std::unique_ptr<Iterador<T>> postIncrement() override {
        auto previous = std::make_unique<IteradorLlista<T>>(*this);
        next();
        return previous;
    }

    T& current() override { return before->next->value; }
    bool atEnd() const override { return before->next->next == nullptr; }
    bool atStart() const override { return before == list->head; }

    Llista<T>* list;
    typename Llista<T>::Node* before;
};

}  // namespace engine
