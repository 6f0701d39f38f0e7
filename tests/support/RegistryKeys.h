#pragma once
// Test helper: every key below a registry root, so that a test can say that nothing of
// a server is left after its unregistration. Tests that include it link platform_winapi.
#include <string>
#include <vector>

#include "winapi/Registry.h"

namespace testing_support {

// Every key path below `root`, depth first.
inline std::vector<std::string> registryKeysBelow(winapi::HKEY root, const std::string& key = {}) {
    std::vector<std::string> keys;
    for (const std::string& name : winapi::registry::subKeys(root, key)) {
        const std::string path = key.empty() ? name : key + "\\" + name;
        keys.push_back(path);
        const std::vector<std::string> below = registryKeysBelow(root, path);
        keys.insert(keys.end(), below.begin(), below.end());
    }
    return keys;
}

}  // namespace testing_support
