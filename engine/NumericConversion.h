#pragma once
// Float to integer conversion as the engine does it: truncation toward zero, with
// values beyond the 32-bit range held at its ends instead of undefined behaviour.
#include <cmath>
#include <cstdint>

namespace engine {

inline std::int32_t truncateToInt32(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483648.0f) return 2147483647;
    if (value < -2147483648.0f) return -2147483647 - 1;
    return static_cast<std::int32_t>(value);
}

}  // namespace engine
