#pragma once
// The regional settings that the class-library conversions follow. The decimal
// separator comes from the environment's numeric locale (LC_ALL, LC_NUMERIC, LANG),
// read once on first use; tests may set it directly.
#include <string>

namespace sysutils {

struct FormatSettings {
    char DecimalSeparator = '.';
};

// The process-wide settings, initialised from the environment on first use.
FormatSettings& formatSettings();

// The decimal separator that the environment's numeric locale uses.
char decimalSeparatorFromEnvironment();

// Sets the decimal separator for the lifetime of the object (tests).
class ScopedDecimalSeparator {
public:
    explicit ScopedDecimalSeparator(char separator);
    ~ScopedDecimalSeparator();
    ScopedDecimalSeparator(const ScopedDecimalSeparator&) = delete;
    ScopedDecimalSeparator& operator=(const ScopedDecimalSeparator&) = delete;

private:
    char previous_;
};

}  // namespace sysutils
