#pragma once
// The closing steps of the indices, as the landscape's index methods take them: the sums
// over components for CCP and LCP, and the normalisations of IIC, H, F, AWF and PC. The
// fast path finishes every per-node landscape with these.
#include <cstdint>
#include <vector>

#include "engine/fast/ExactArithmetic.h"

namespace engine::fast {

// CCP over the component attributes in component order; 0 when the total attribute is 0.
inline float coincidenceOfClass(const std::vector<float>& componentAttribute, std::int32_t components,
                                float totalAttribute) {
    float ccp = 0.0f;
    if (totalAttribute == 0.0f) return ccp;
    const Extended totalSquared = static_cast<Extended>(totalAttribute) * static_cast<Extended>(totalAttribute);
    for (std::int32_t k = 0; k < components; ++k) {
        const Extended c = componentAttribute[static_cast<std::size_t>(k)];
        ccp = static_cast<float>(c * c / totalSquared + ccp);
    }
    return ccp;
}

// LCP and its numerator; LCP stays 0 when AL is 0.
inline void coincidenceOfLandscape(const std::vector<float>& componentAttribute, std::int32_t components, float AL,
                                   float& lcp, float& lcpNumerator) {
    lcp = 0.0f;
    lcpNumerator = 0.0f;
    const Extended maximumSquared = static_cast<Extended>(AL) * static_cast<Extended>(AL);
    for (std::int32_t k = 0; k < components; ++k) {
        const Extended c = componentAttribute[static_cast<std::size_t>(k)];
        if (AL != 0.0f) lcp = static_cast<float>(c * c / maximumSquared + lcp);
        lcpNumerator = static_cast<float>(c * c + lcpNumerator);
    }
}

// value = numerator / AL^2 (0 when AL is 0), numerator kept: IIC and PC.
inline void normaliseByMaximumAttribute(float sum, float AL, float& value, float& numerator) {
    numerator = sum;
    if (AL == 0.0f) {
        value = 0.0f;
    } else {
        value = static_cast<float>(numerator / (static_cast<Extended>(AL) * static_cast<Extended>(AL)));
    }
}

// H counts every connected pair from both ends.
inline float halved(float sum) { return static_cast<float>(sum * 0.5L); }

// F and AWF sum each unordered pair once.
inline float doubled(float sum) { return static_cast<float>(sum * 2.0L); }

}  // namespace engine::fast
