// Reads the input as a registry hive file and checks that whatever it reads is written
// and read back unchanged, and that every key it lists can be asked for.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzInput.h"
#include "winapi/RegistryHive.h"

namespace {

void visit(const winapi::RegistryHive& hive, const std::string& path, int depth) {
    if (depth > 64) return;
    for (const std::string& name : hive.subKeys(path)) {
        const std::string child = path.empty() ? name : path + "\\" + name;
        if (!hive.hasKey(child)) std::abort();
        for (const winapi::RegistryValue& value : hive.values(child))
            if (hive.value(child, value.name) == nullptr) std::abort();
        visit(hive, child, depth + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > fuzzing::maxInputSize) return -1;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<winapi::RegistryHive> hive = winapi::RegistryHive::parse(text);
    if (!hive) return 0;
    const std::string written = hive->write();
    const std::optional<winapi::RegistryHive> again = winapi::RegistryHive::parse(written);
    if (!again || again->write() != written) std::abort();
    visit(*hive, "", 0);
    return 0;
}
