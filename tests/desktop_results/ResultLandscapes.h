#pragma once
// Small executions whose results the result writers are tested on, and the path of
// the expected files.
#include <string>

#include "engine/support/RunFixture.h"

namespace testing_support {

// Distances between three nodes with IDs 5, 9 and 12: only 5 - 9 lies within the
// threshold of 250, so 12 forms a component alone.
inline const char* const threeNodes = "5\t10\n9\t20\n12\t30\n";
inline const char* const threeNodeDistances = "5\t9\t100\n9\t12\t300\n5\t12\t600\n";
// The same with two candidates: 7 near 12, 3 near 5.
inline const char* const threeNodesTwoCandidates = "5\t10\t1\n9\t20\t1\n7\t15\t0\n12\t30\t1\n3\t5\t0\n";
inline const char* const threeNodeCandidateDistances =
    "5\t9\t100\n9\t12\t300\n5\t12\t600\n7\t12\t120\n7\t5\t900\n3\t5\t50\n";
inline const char* const twoNodes = "5\t10\n9\t20\n";
inline const char* const twoNodeDistances = "5\t9\t100\n";
inline const char* const oneNode = "5\t10\n";
inline const char* const oneNodeDistances = "5\t5\t0\n";

inline RunParameters distancesRun(const std::string& indices) {
    RunParameters parameters;
    parameters.type = ConnectionKind::Distances;
    parameters.indices = indices;
    parameters.threshold = 250.0f;
    parameters.distance = 200.0f;
    parameters.probability = 0.5f;
    parameters.AL = 1000.0f;
    return parameters;
}

inline std::string expectedFile(const std::string& name) {
    return std::string(BRELMARK_TEST_DATA) + "/expected/" + name;
}

}  // namespace testing_support
