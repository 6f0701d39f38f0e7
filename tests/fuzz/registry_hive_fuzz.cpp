// Reads the input as a registry hive file and checks that whatever it reads is written
// and read back unchanged and whole (no damage), that every key it lists can be asked
// for, and that a damage names a line of the input.
#include <algorithm>
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
    const winapi::RegistryHive::Reading reading = winapi::RegistryHive::read(text);
    if (reading.damage) {
        const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
        if (reading.damage->line < 1 || reading.damage->line > lines || reading.damage->why.empty()) std::abort();
    }
    const std::optional<winapi::RegistryHive> hive = winapi::RegistryHive::parse(text);
    if (hive.has_value() != (!reading.damage || reading.damage->line != 1)) std::abort();
    if (!hive) return 0;
    const std::string written = hive->write();
    const winapi::RegistryHive::Reading again = winapi::RegistryHive::read(written);
    if (again.damage || again.hive.write() != written) std::abort();
    visit(*hive, "", 0);
    return 0;
}
