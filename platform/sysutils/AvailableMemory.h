#pragma once
// How much more memory the process can take before the system refuses it or kills the
// process. With the system's memory overcommit a large allocation succeeds whatever is
// free, and the kernel ends the process once the pages are touched; so whoever is about
// to allocate much compares its need with this figure first. It is the least of:
// - what the system has available (MemAvailable and free swap in /proc/meminfo);
// - for each memory control group the process belongs to, and each above it, the limit
//   less the use (cgroup v2 memory.max and memory.current, v1 memory.limit_in_bytes and
//   memory.usage_in_bytes), found through /proc/self/cgroup and /proc/self/mountinfo;
// - the address-space and data-segment limits (RLIMIT_AS, RLIMIT_DATA) less the process's
//   VmSize and VmData.
// A source that cannot be read limits nothing. Tests set the figure or the /proc folder.
#include <cstdint>
#include <limits>
#include <string>

namespace sysutils {

inline constexpr std::uint64_t unlimitedMemory = std::numeric_limits<std::uint64_t>::max();

// In bytes; unlimitedMemory when no source limits it.
std::uint64_t AvailableMemory();
// The same, reading /proc from `procFolder` (the mount points that its mountinfo names
// are taken as they stand).
std::uint64_t AvailableMemory(const std::string& procFolder);

// Makes AvailableMemory() return `bytes` until the object goes out of scope.
class ScopedAvailableMemory {
public:
    explicit ScopedAvailableMemory(std::uint64_t bytes);
    ~ScopedAvailableMemory();
    ScopedAvailableMemory(const ScopedAvailableMemory&) = delete;
    ScopedAvailableMemory& operator=(const ScopedAvailableMemory&) = delete;
};

}  // namespace sysutils
