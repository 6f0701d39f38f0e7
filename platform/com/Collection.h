#pragma once
// The run-time's collection: items in the order they were added, reachable by position
// (from 1) and by an optional text key, compared without regard to case. A key that is
// already taken raises error 457, a missing key "Invalid procedure call or argument" (5),
// a position out of range "Subscript out of range" (9).
//
// Keys are found through an open-addressing table of item positions, so that adding a
// keyed item costs no allocation of its own: analyses keep millions of keys.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "com/Error.h"

namespace com {

template <class T>
class Collection {
public:
    void Add(T item, const std::string& key = {}) {
        if (key.empty()) {
            items_.push_back({std::string(), std::move(item)});
            return;
        }
        std::string folded = fold(key);
        if (indexOf(folded) != notFound) throw runtimeError(errors::DuplicateKey);
        items_.push_back({std::move(folded), std::move(item)});
        insertSlot(items_.size() - 1);
    }

    int Count() const { return static_cast<int>(items_.size()); }

    T& Item(const std::string& key) {
        T* found = find(key);
        if (found == nullptr) throw runtimeError(errors::InvalidProcedureCall);
        return *found;
    }
    T& Item(int position) {
        if (position < 1 || position > Count()) throw runtimeError(errors::SubscriptOutOfRange);
        return items_[static_cast<std::size_t>(position - 1)].second;
    }

    void Remove(const std::string& key) {
        const std::size_t index = indexOf(fold(key));
        if (index == notFound) throw runtimeError(errors::InvalidProcedureCall);
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
        rebuildSlots();
    }

    // The item of a key, or null; the lookup that Item(key) makes, without raising.
    T* find(const std::string& key) {
        // Most keys (numbers, lower-case names) are their own folded form: no copy then.
        const std::size_t index = hasUpperCase(key) ? indexOf(fold(key)) : indexOf(key);
        return index == notFound ? nullptr : &items_[index].second;
    }

private:
    static constexpr std::size_t notFound = static_cast<std::size_t>(-1);

    static bool hasUpperCase(std::string_view key) {
        for (const char c : key)
            if (c >= 'A' && c <= 'Z') return true;
        return false;
    }
    static std::string fold(std::string_view key) {
        std::string result(key);
        for (char& c : result)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return result;
    }
    static std::size_t hashOf(std::string_view key) { return std::hash<std::string_view>{}(key); }

    // The position of the item with this (folded) key, or notFound.
    std::size_t indexOf(std::string_view key) const {
        if (slots_.empty()) return notFound;
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t slot = hashOf(key) & mask;; slot = (slot + 1) & mask) {
            const std::size_t held = slots_[slot];
            if (held == 0) return notFound;
            if (items_[held - 1].first == key) return held - 1;
        }
    }

    void insertSlot(std::size_t index) {
        // At most half full, so that a search meets an empty slot soon.
        if (2 * (keyed_ + 1) > slots_.size()) {
            ++keyed_;
            rebuildSlots();
            return;
        }
        place(index);
        ++keyed_;
    }

    void place(std::size_t index) {
        const std::size_t mask = slots_.size() - 1;
        std::size_t slot = hashOf(items_[index].first) & mask;
        while (slots_[slot] != 0) slot = (slot + 1) & mask;
        slots_[slot] = index + 1;
    }

    void rebuildSlots() {
        keyed_ = 0;
        for (const auto& item : items_)
            if (!item.first.empty()) ++keyed_;
        std::size_t capacity = 16;
        while (capacity < 2 * keyed_) capacity *= 2;
        slots_.assign(keyed_ == 0 ? 0 : capacity, 0);
        for (std::size_t index = 0; index < items_.size(); ++index)
            if (!items_[index].first.empty()) place(index);
    }

    std::vector<std::pair<std::string, T>> items_;  // keys folded; empty for an item without key
    std::vector<std::size_t> slots_;                 // item position + 1; 0 for an empty slot
    std::size_t keyed_ = 0;
};

}  // namespace com
