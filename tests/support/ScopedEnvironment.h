#pragma once
// Test helpers: an environment variable set for the lifetime of an object, and a
// registry of its own (an empty folder for both hives) for a test.
#include <cstdlib>
#include <optional>
#include <string>

#include "support/TestFiles.h"

namespace testing_support {

class ScopedEnvironmentVariable {
public:
    ScopedEnvironmentVariable(std::string name, const std::string& value) : name_(std::move(name)) {
        if (const char* previous = std::getenv(name_.c_str())) previous_ = previous;
        ::setenv(name_.c_str(), value.c_str(), 1);
    }
    ~ScopedEnvironmentVariable() {
        if (previous_) {
            ::setenv(name_.c_str(), previous_->c_str(), 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

// Both hives of the registry in a fresh temporary folder.
class ScopedRegistry {
public:
    ScopedRegistry() : variable_("PLATFORM_REGISTRY_DIR", folder_.path().string()) {}
    const TemporaryFolder& folder() const { return folder_; }
    std::string hiveFile(const std::string& name) const { return folder_.pathOf(name); }

private:
    TemporaryFolder folder_;
    ScopedEnvironmentVariable variable_;
};

}  // namespace testing_support
