#pragma once
// The run-time's collection: items in the order they were added, reachable by position
// (from 1) and by an optional text key, compared without regard to case. A key that is
// already taken raises error 457, a missing key "Invalid procedure call or argument" (5),
// a position out of range "Subscript out of range" (9).
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "com/Error.h"

namespace com {

template <class T>
class Collection {
public:
    void Add(T item, const std::string& key = {}) {
        if (!key.empty()) {
            if (!byKey_.emplace(folded(key), items_.size()).second) throw runtimeError(errors::DuplicateKey);
        }
        items_.push_back({key, std::move(item)});
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
        const auto found = byKey_.find(folded(key));
        if (found == byKey_.end()) throw runtimeError(errors::InvalidProcedureCall);
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(found->second));
        reindex();
    }

    // The item of a key, or null; the lookup that Item(key) makes, without raising.
    T* find(const std::string& key) {
        const auto found = byKey_.find(folded(key));
        return found == byKey_.end() ? nullptr : &items_[found->second].second;
    }

private:
    static std::string folded(const std::string& key) {
        std::string result = key;
        for (char& c : result)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return result;
    }
    void reindex() {
        byKey_.clear();
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (!items_[i].first.empty()) byKey_.emplace(folded(items_[i].first), i);
    }

    std::vector<std::pair<std::string, T>> items_;
    std::unordered_map<std::string, std::size_t> byKey_;
};

}  // namespace com
