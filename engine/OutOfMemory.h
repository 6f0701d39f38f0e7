#pragma once
// The two texts of the engine's out-of-memory exception. Which one an allocation
// reports is fixed per allocation site; users see them in a message box.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/Allocation.h"

namespace engine {

// Node arrays of the engine object; probability rows of the overall landscape.
inline constexpr const char* outOfMemoryMessageA =
    "Not enough memory.\n Please restart the software \n and try with a lower number of nodes";
// Every other allocation of the engine object and of the landscapes.
inline constexpr const char* outOfMemoryMessageB =
    " Not enough memory.\n Please restart the software and \n try with a lower number of nodes";

// Raises sysutils::Exception with the message.
[[noreturn]] void throwOutOfMemory(const char* message);

// An array of `count` value-initialised elements (none for a count below 1), or the
// out-of-memory exception with `message`.
template <class T>
std::unique_ptr<T[]> allocateArrayOrThrow(std::int32_t count, const char* message = outOfMemoryMessageB) {
    auto array = tryAllocateArray<T>(static_cast<std::size_t>(count < 0 ? 0 : count));
    if (!array) throwOutOfMemory(message);
    return array;
}

}  // namespace engine
