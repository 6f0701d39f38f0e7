#pragma once
// The engine's doubly linked list with a front and a back sentinel: neighbour lists,
// the breadth-first queue and the connection lists of the path searches. Every
// element is allocated on its own; an allocation that fails throws Llista::noMem
// before the list changes. Walk it with IteradorLlista, which keeps the node before
// the current element so that inserting and removing there take constant time.
#include <cstdint>

#include "engine/Allocation.h"

namespace engine {

template <class T>
class IteradorLlista;

template <class T>
class Llista {
public:
    // Thrown when a list node cannot be allocated.
    struct noMem {};

    // One element, or a sentinel.
    struct Node {
        T value{};
        Node* next = nullptr;
        Node* prev = nullptr;
    };


    Llista() {
        head = newNode();
        tail = tryAllocateObject<Node>();
        if (tail == nullptr) {
            delete head;
            throw noMem{};
        }
        head->next = tail;
        tail->prev = head;
    }

    ~Llista() {
        Node* node = head;
        while (node != nullptr) {
            Node* following = node->next;
            delete node;
            node = following;
        }
    }

    Llista(const Llista&) = delete;
    Llista& operator=(const Llista&) = delete;

    void pushBack(T value) { linkBetween(newNode(value), tail->prev, tail); }

    void pushFront(T value) { linkBetween(newNode(value), head, head->next); }

    // The first element; the list must not be empty.
    void front(T& value) const { value = head->next->value; }

    // Removes the first element; the list must not be empty.
    void popFront() { unlink(head->next); }

    void clear() {
        Node* node = head->next;
        while (node != tail) {
            Node* following = node->next;
            delete node;
            node = following;
        }
        head->next = tail;
        tail->prev = head;
        count = 0;
    }

    // Makes this list a copy of `other`, in its order.
    void assign(const Llista& other) {
        clear();
        IteradorLlista<T> at(*this);
        for (Node* node = other.head->next; node != other.tail; node = node->next) insertAt(node->value, at);
    }

    // Inserts before the iterator's current element; the iterator keeps designating it.
    void insertAt(T value, IteradorLlista<T>& at) {
        Node* node = newNode(value);
        linkBetween(node, at.before, at.before->next);
        at.before = node;
    }

    // Removes the iterator's current element; the following one becomes current.
    void removeAt(IteradorLlista<T>& at) { unlink(at.before->next); }

    std::int32_t size() const { return count; }

private:
    friend class IteradorLlista<T>;

    static Node* newNode(T value = T{}) {
        Node* node = tryAllocateObject<Node>();
        if (node == nullptr) throw noMem{};
        node->value = value;
        return node;
    }

    void linkBetween(Node* node, Node* before, Node* after) {
        node->prev = before;
        node->next = after;
        before->next = node;
        after->prev = node;
        ++count;
    }

    void unlink(Node* node) {
        node->prev->next = node->next;
        node->next->prev = node->prev;
        delete node;
        --count;
    }

public:
    std::int32_t count = 0;
    Node* head = nullptr;
    Node* tail = nullptr;
};

}  // namespace engine

#include "engine/IteradorLlista.h"
