#pragma once
// One node record of a landscape: the patch's attribute and ID, the ascending list
// of the nodes linked to it, and its rows of direct and maximum-product probabilities
// (absent until a build or PC fills them).
#include <cstdint>
#include <memory>

#include "engine/Llista.h"

namespace engine {

class tessella {
public:
    float attribute = 0.0f;
    std::int32_t id = 0;
    Llista<int> neighbours;
    std::unique_ptr<float[]> directProb;
    std::unique_ptr<float[]> maxProductProb;
};

}  // namespace engine
