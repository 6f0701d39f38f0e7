#pragma once
// The number of the run-time error that an action raises, 0 when it raises none.
#include <cstdint>
#include <functional>

#include "com/Error.h"

namespace testing_support {

inline std::int32_t errorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const com::Error& error) {
        return error.Number;
    }
    return 0;
}

}  // namespace testing_support
