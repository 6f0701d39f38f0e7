#pragma once
// The two texts of the engine's out-of-memory exception. Which one an allocation
// reports is fixed per allocation site; users see them in a message box.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

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

// Allocations of at least this many bytes are checked against the memory available
// before they are made; smaller ones fail or succeed on their own.
inline constexpr std::uint64_t checkedAllocationBytes = std::uint64_t{16} << 20;

// Raises the out-of-memory exception with `message` when `bytes`, about to be allocated
// and filled, exceed what the process can still take (sysutils::AvailableMemory). With the
// system's memory overcommit such an allocation would succeed and the kernel would end
// the program once the memory is filled.
void ensureMemoryFor(std::uint64_t bytes, const char* message);

// The text shown for the exception being handled when it ends a run (call it inside a
// catch block): message B for every failure to get memory or a thread that is not yet
// the out-of-memory exception (a list node, a standard allocation, a thread that the
// system cannot create), the exception's own text for any other standard exception.
// An exception of any other kind is raised again: it is not a failure of the run.
std::string runFailureText();

// An array of `count` value-initialised elements (none for a count below 1), or the
// out-of-memory exception with `message`.
template <class T>
std::unique_ptr<T[]> allocateArrayOrThrow(std::int32_t count, const char* message = outOfMemoryMessageB) {
    auto array = tryAllocateArray<T>(static_cast<std::size_t>(count < 0 ? 0 : count));
    if (!array) throwOutOfMemory(message);
    return array;
}

}  // namespace engine
