#pragma once
// Landscapes for the index tests: links or direct probabilities given as lists of pairs,
// a landscape with no nodes, and a random landscape for the comparisons with a
// straightforward recomputation.
#include <cstdint>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "engine/landscape.h"
#include "tests/engine/support/LandscapeFixture.h"

namespace testing_support {

using Matrix = std::vector<std::vector<float>>;

inline std::unique_ptr<engine::landscape> landscapeOf(const std::vector<float>& attributes, const Matrix& matrix,
                                                      const BuildOptions& options) {
    auto result = std::make_unique<engine::landscape>();
    buildFromMatrix(*result, attributes, matrix, options);
    return result;
}

// A landscape of the Links type whose links are the listed pairs (value 1).
inline std::unique_ptr<engine::landscape> linkedLandscape(const std::vector<float>& attributes,
                                                          const std::vector<std::pair<int, int>>& links,
                                                          std::int32_t AL) {
    std::vector<Pair> pairs;
    for (const auto& [i, j] : links) pairs.push_back({i, j, 1.0f});
    BuildOptions options;
    options.type = Type::Links;
    options.links = true;
    options.probabilities = false;
    options.AL = AL;
    return landscapeOf(attributes, symmetricMatrix(static_cast<int>(attributes.size()), 0.0f, pairs), options);
}

// A landscape of the Probabilities type with the listed direct probabilities, 0 elsewhere.
inline std::unique_ptr<engine::landscape> probabilisticLandscape(const std::vector<float>& attributes,
                                                                 const std::vector<Pair>& probabilities,
                                                                 std::int32_t AL, bool allPaths = true,
                                                                 float minProbability = 0.0f) {
    BuildOptions options;
    options.type = Type::Probabilities;
    options.links = false;
    options.probabilities = true;
    options.AL = AL;
    options.allPaths = allPaths;
    options.minProbability = minProbability;
    return landscapeOf(attributes, symmetricMatrix(static_cast<int>(attributes.size()), 0.0f, probabilities),
                       options);
}

// A landscape with no nodes: the only node of a one-node landscape removed.
inline std::unique_ptr<engine::landscape> emptyLandscape() {
    BuildOptions options;
    options.type = Type::Probabilities;
    options.AL = 10;
    auto single = landscapeOf({4.0f}, {{1.0f}}, options);
    auto empty = std::make_unique<engine::landscape>();
    empty->landscapeWithoutNode(*single, 0, /*buildLinks=*/true, /*buildProbabilities=*/true);
    return empty;
}

// Random attributes in [0.5, 100) and a random symmetric probability matrix: about
// `density` of the pairs get a probability in [0.001, 1), the others 0.
struct RandomLandscapeInput {
    std::vector<float> attributes;
    Matrix probabilities;
};

inline RandomLandscapeInput randomLandscapeInput(std::size_t n, double density, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> attribute(0.5f, 100.0f);
    std::uniform_real_distribution<float> probability(0.001f, 1.0f);
    std::bernoulli_distribution present(density);
    RandomLandscapeInput input;
    input.probabilities.assign(n, std::vector<float>(n, 0.0f));
    for (std::size_t i = 0; i < n; ++i) {
        input.attributes.push_back(attribute(generator));
        input.probabilities[i][i] = 1.0f;
        for (std::size_t j = 0; j < i; ++j) {
            const float p = present(generator) ? probability(generator) : 0.0f;
            input.probabilities[i][j] = p;
            input.probabilities[j][i] = p;
        }
    }
    return input;
}

// The random landscape read as Probabilities: pairs with p >= linkThreshold are linked too.
inline std::unique_ptr<engine::landscape> randomLandscape(const RandomLandscapeInput& input, std::int32_t AL,
                                                          float linkThreshold, bool allPaths = true,
                                                          float minProbability = 0.0f) {
    BuildOptions options;
    options.type = Type::Probabilities;
    options.links = true;
    options.probabilities = true;
    options.threshold = linkThreshold;
    options.AL = AL;
    options.allPaths = allPaths;
    options.minProbability = minProbability;
    return landscapeOf(input.attributes, input.probabilities, options);
}

}  // namespace testing_support
