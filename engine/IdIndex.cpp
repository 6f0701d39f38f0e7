#include "engine/IdIndex.h"

#include <new>

namespace engine {

IdIndex::IdIndex(const std::int32_t* ids, std::int32_t count) {
    if (count < 0 || (count > 0 && ids == nullptr)) return;
    std::size_t capacity = 16;
    while (capacity < 2 * static_cast<std::size_t>(count)) capacity *= 2;
    try {
        slots_.resize(capacity);
    } catch (const std::bad_alloc&) {
        return;
    }
    mask_ = capacity - 1;
    for (std::int32_t position = 0; position < count; ++position) {
        for (std::size_t slot = slotOf(ids[position]);; slot = (slot + 1) & mask_) {
            if (slots_[slot].position < 0) {
                slots_[slot] = Slot{ids[position], position};
                break;
            }
            if (slots_[slot].id == ids[position]) break;  // the first occurrence stays
        }
    }
    usable_ = true;
}

std::size_t IdIndex::slotOf(std::int32_t id) const {
    // Fibonacci hashing spreads consecutive IDs over the table.
    const std::uint64_t key = static_cast<std::uint32_t>(id);
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 20) & mask_;
}

bool IdIndex::find(std::int32_t id, std::int32_t& position) const {
    if (usable_) {
        for (std::size_t slot = slotOf(id);; slot = (slot + 1) & mask_) {
            if (slots_[slot].position < 0) break;
            if (slots_[slot].id == id) {
                position = slots_[slot].position;
                return true;
            }
        }
    }
    position = -1;
    return false;
}

}  // namespace engine
