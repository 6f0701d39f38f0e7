#pragma once
// Per-thread working arrays of the searches, sized once for the run: a value per node that
// counts as set only where its stamp is the current one, so that a search touching few
// nodes costs only what it touches.
#include <cstdint>
#include <utility>
#include <vector>

namespace engine::fast {

template <class Value>
class StampedValues {
public:
    void resize(std::int32_t n) {
        value_.assign(static_cast<std::size_t>(n), Value{});
        stamp_.assign(static_cast<std::size_t>(n), 0);
        current_ = 0;
    }
    // Forgets every value at once.
    void clearAll() {
        if (++current_ == 0) {
            std::fill(stamp_.begin(), stamp_.end(), 0);
            current_ = 1;
        }
    }
    bool has(std::int32_t v) const { return stamp_[static_cast<std::size_t>(v)] == current_; }
    const Value& get(std::int32_t v) const { return value_[static_cast<std::size_t>(v)]; }
    void set(std::int32_t v, const Value& value) {
        stamp_[static_cast<std::size_t>(v)] = current_;
        value_[static_cast<std::size_t>(v)] = value;
    }

private:
    std::vector<Value> value_;
    std::vector<std::uint32_t> stamp_;
    std::uint32_t current_ = 0;
};

// A binary min-heap of (key, node) with stale entries skipped by the caller.
template <class Key>
class MinHeap {
public:
    bool empty() const { return entries_.empty(); }
    void clear() { entries_.clear(); }
    void push(Key key, std::int32_t node) {
        entries_.emplace_back(key, node);
        std::size_t at = entries_.size() - 1;
        while (at > 0) {
            const std::size_t parent = (at - 1) / 2;
            if (!(entries_[at].first < entries_[parent].first)) break;
            std::swap(entries_[at], entries_[parent]);
            at = parent;
        }
    }
    // Adds an entry without restoring the heap order; heapify() restores it for all of them
    // at once, in time linear in their number.
    void pushUnordered(Key key, std::int32_t node) { entries_.emplace_back(key, node); }
    void heapify() {
        for (std::size_t at = entries_.size() / 2; at-- > 0;) siftDown(at);
    }
    // Calls visit(node) for every entry left, stale ones included, and empties the heap.
    template <class Visit>
    void drain(Visit visit) {
        for (const auto& entry : entries_) visit(entry.second);
        entries_.clear();
    }
    std::pair<Key, std::int32_t> pop() {
        const std::pair<Key, std::int32_t> top = entries_.front();
        entries_.front() = entries_.back();
        entries_.pop_back();
        siftDown(0);
        return top;
    }

private:
    void siftDown(std::size_t at) {
        const std::size_t size = entries_.size();
        for (;;) {
            const std::size_t left = 2 * at + 1;
            if (left >= size) break;
            std::size_t smaller = left;
            if (left + 1 < size && entries_[left + 1].first < entries_[left].first) smaller = left + 1;
            if (!(entries_[smaller].first < entries_[at].first)) break;
            std::swap(entries_[at], entries_[smaller]);
            at = smaller;
        }
    }

    std::vector<std::pair<Key, std::int32_t>> entries_;
};

}  // namespace engine::fast
