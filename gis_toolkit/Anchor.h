#pragma once
// One recorded value of one edge of an anchored control (AnchorObject.h): the mode of
// its axis, two bounds that no operation reads, and the recorded position, size,
// margin or proportion as a 32-bit float.
#include <cstdint>

namespace gis_toolkit {

class Anchor {
public:
    std::int32_t AnchorType = 0;
    std::int32_t MinValue = -2147483647;
    std::int32_t MaxValue = 2147483647;
    float Value = 0;
};

}  // namespace gis_toolkit
