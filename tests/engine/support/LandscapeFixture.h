#pragma once
// Builds test landscapes from small matrices written out in the test.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/landscape.h"

namespace testing_support {

struct MatrixRows {
    explicit MatrixRows(const std::vector<std::vector<float>>& matrix) : rows(matrix.size()) {
        for (std::size_t i = 0; i < matrix.size(); ++i) {
            rows[i] = std::make_unique<float[]>(matrix[i].size());
            for (std::size_t j = 0; j < matrix[i].size(); ++j) rows[i][j] = matrix[i][j];
        }
    }
    const std::unique_ptr<float[]>* data() const { return rows.data(); }
    std::vector<std::unique_ptr<float[]>> rows;
};

// A symmetric n x n matrix filled with `fill`, with the listed pairs set.
struct Pair {
    int i;
    int j;
    float value;
};
inline std::vector<std::vector<float>> symmetricMatrix(int n, float fill, const std::vector<Pair>& pairs) {
    std::vector<std::vector<float>> matrix(static_cast<std::size_t>(n), std::vector<float>(static_cast<std::size_t>(n), fill));
    for (const Pair& pair : pairs) {
        matrix[static_cast<std::size_t>(pair.i)][static_cast<std::size_t>(pair.j)] = pair.value;
        matrix[static_cast<std::size_t>(pair.j)][static_cast<std::size_t>(pair.i)] = pair.value;
    }
    return matrix;
}

enum class Type { Distances, Probabilities, Links };

struct BuildOptions {
    Type type = Type::Distances;
    bool links = true;
    bool probabilities = true;
    float threshold = 1.0f;
    float probability = 0.5f;
    float distance = 10.0f;
    float minProbability = 0.0f;
    bool allPaths = true;
    std::int32_t AL = 100;
};

inline void buildFromMatrix(engine::landscape& target, const std::vector<float>& attributes,
                            const std::vector<std::vector<float>>& matrix, const BuildOptions& options) {
    std::vector<std::int32_t> ids(attributes.size());
    for (std::size_t i = 0; i < ids.size(); ++i) ids[i] = static_cast<std::int32_t>(100 + i);
    MatrixRows rows(matrix);
    target.landscapeFromMatrix(attributes.data(), ids.data(), rows.data(), static_cast<std::int32_t>(attributes.size()),
                               options.AL, options.links, options.probabilities, options.type == Type::Distances,
                               options.type == Type::Probabilities, options.type == Type::Links, options.threshold,
                               options.probability, options.distance, options.minProbability, options.allPaths);
}

inline std::vector<int> neighboursOf(const engine::landscape& graph, int node) {
    std::vector<int> result;
    for (engine::IteradorLlista<int> at(graph.nodes[node].neighbours); !at.atEnd(); at.next())
        result.push_back(at.current());
    return result;
}

}  // namespace testing_support
