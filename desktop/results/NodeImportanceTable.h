#pragma once
// The node importances of an execution as every output reads them: the IDs of the
// existing and the candidate nodes, in node-file order, and one column per selected
// index, in the order dA, dNL, dNC, dH, dCCP, dLCP, dIIC, dF, dAWF, dPC. Values are
// read from the engine object when a column is asked for them, so the object must
// outlive the table.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace engine {
class tamblorProgram;
}

namespace desktop::results {

struct ImportanceColumn {
    std::string label;                                   // "dA", "dNL", ...
    std::function<long double(std::int32_t)> existing;   // importance of existing node i
    std::function<long double(std::int32_t)> candidate;  // importance of candidate node i
};

struct NodeImportanceTable {
    std::vector<std::int32_t> existingIds;
    std::vector<std::int32_t> candidateIds;
    std::vector<ImportanceColumn> columns;
};

NodeImportanceTable nodeImportanceTable(const engine::tamblorProgram& program);

}  // namespace desktop::results
