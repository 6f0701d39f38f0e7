#include "sysutils/AvailableMemory.h"

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <vector>

namespace sysutils {
namespace {

// The figure a test set, when it set one.
std::atomic<bool> injectedIsSet{false};
std::atomic<std::uint64_t> injected{0};

// "Name:   1234 kB" lines of /proc/meminfo and /proc/self/status, in bytes.
bool readKilobytes(const std::string& file, const std::string& name, std::uint64_t& bytes) {
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(name + ":", 0) != 0) continue;
        std::istringstream value(line.substr(name.size() + 1));
        std::uint64_t kilobytes = 0;
        if (!(value >> kilobytes)) return false;
        bytes = kilobytes * 1024;
        return true;
    }
    return false;
}

// A file that holds one number of bytes; false for "max" and anything else.
bool readBytes(const std::string& file, std::uint64_t& bytes) {
    std::ifstream in(file);
    std::string text;
    if (!(in >> text) || text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    bytes = std::stoull(text);
    return true;
}

void limitTo(std::uint64_t& available, std::uint64_t limit, std::uint64_t used) {
    available = std::min(available, limit > used ? limit - used : 0);
}

struct CgroupMount {
    std::string root;        // the hierarchy's folder that is mounted
    std::string mountPoint;  // where
    bool version2 = false;
};

// The cgroup v2 mount and the v1 mount of the memory controller, from mountinfo:
// "id parent major:minor root mountpoint options [optional...] - type source superoptions".
std::vector<CgroupMount> cgroupMounts(const std::string& procFolder) {
    std::vector<CgroupMount> mounts;
    std::ifstream in(procFolder + "/self/mountinfo");
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string id, parent, device, root, mountPoint, field;
        if (!(fields >> id >> parent >> device >> root >> mountPoint)) continue;
        while (fields >> field && field != "-") {
        }
        std::string type, source, superOptions;
        if (!(fields >> type >> source >> superOptions)) continue;
        if (type == "cgroup2") mounts.push_back({root, mountPoint, true});
        if (type == "cgroup" && ("," + superOptions + ",").find(",memory,") != std::string::npos)
            mounts.push_back({root, mountPoint, false});
    }
    return mounts;
}

// Every folder from the process's own control group up to the mount point.
std::vector<std::string> groupFolders(const CgroupMount& mount, std::string path) {
    if (mount.root != "/" && path.rfind(mount.root, 0) == 0) path = path.substr(mount.root.size());
    std::vector<std::string> folders;
    for (;;) {
        folders.push_back(mount.mountPoint + (path == "/" ? "" : path));
        if (path.empty() || path == "/") break;
        const std::size_t slash = path.rfind('/');
        path = slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
    }
    return folders;
}

void limitByControlGroups(const std::string& procFolder, std::uint64_t& available) {
    const std::vector<CgroupMount> mounts = cgroupMounts(procFolder);
    std::ifstream in(procFolder + "/self/cgroup");
    // "hierarchy:controllers:path"; v2 is "0::path".
    for (std::string line; std::getline(in, line);) {
        const std::size_t first = line.find(':');
        const std::size_t second = first == std::string::npos ? first : line.find(':', first + 1);
        if (second == std::string::npos) continue;
        const std::string controllers = "," + line.substr(first + 1, second - first - 1) + ",";
        const std::string path = line.substr(second + 1);
        const bool version2 = controllers == ",,";
        if (!version2 && controllers.find(",memory,") == std::string::npos) continue;
        for (const CgroupMount& mount : mounts) {
            if (mount.version2 != version2) continue;
            for (const std::string& folder : groupFolders(mount, path)) {
                std::uint64_t limit = 0, used = 0;
                const bool limited = version2 ? readBytes(folder + "/memory.max", limit) &&
                                                    readBytes(folder + "/memory.current", used)
                                              : readBytes(folder + "/memory.limit_in_bytes", limit) &&
                                                    readBytes(folder + "/memory.usage_in_bytes", used);
                if (limited) limitTo(available, limit, used);
            }
        }
    }
}

void limitByResourceLimit(const std::string& procFolder, int resource, const char* usage, std::uint64_t& available) {
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return;
    std::uint64_t used = 0;
    if (readKilobytes(procFolder + "/self/status", usage, used)) limitTo(available, limit.rlim_cur, used);
}

}  // namespace

std::uint64_t AvailableMemory() {
    if (injectedIsSet.load()) return injected.load();
    return AvailableMemory("/proc");
}

std::uint64_t AvailableMemory(const std::string& procFolder) {
    std::uint64_t available = unlimitedMemory;
    std::uint64_t memory = 0, swap = 0;
    if (readKilobytes(procFolder + "/meminfo", "MemAvailable", memory)) {
        readKilobytes(procFolder + "/meminfo", "SwapFree", swap);
        available = memory + swap;
    }
    limitByControlGroups(procFolder, available);
    limitByResourceLimit(procFolder, RLIMIT_AS, "VmSize", available);
    limitByResourceLimit(procFolder, RLIMIT_DATA, "VmData", available);
    return available;
}

ScopedAvailableMemory::ScopedAvailableMemory(std::uint64_t bytes) {
    injected.store(bytes);
    injectedIsSet.store(true);
}

ScopedAvailableMemory::~ScopedAvailableMemory() { injectedIsSet.store(false); }

}  // namespace sysutils
