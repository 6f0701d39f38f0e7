#pragma once
// A hash index from node ID to the position of its first occurrence in an ID array,
// so that the connection reader looks each ID up in constant time instead of scanning
// all nodes. Open addressing with linear probing over a power-of-two table.
#include <cstdint>
#include <vector>

namespace engine {

class IdIndex {
public:
    // Indexes ids[0 .. count-1]; a repeated ID keeps its first position. When the table
    // cannot be allocated the index stays empty and usable() is false.
    IdIndex(const std::int32_t* ids, std::int32_t count);

    bool usable() const { return usable_; }
    // true and the first position of `id`, or false and -1.
    bool find(std::int32_t id, std::int32_t& position) const;

private:
    std::size_t slotOf(std::int32_t id) const;

    struct Slot {
        std::int32_t id = 0;
        std::int32_t position = -1;  // -1: empty
    };
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    bool usable_ = false;
};

}  // namespace engine
