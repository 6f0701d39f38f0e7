#include "desktop/results/NodeImportanceTable.h"

#include "engine/tamblorProgram.h"

namespace desktop::results {
namespace {

using Importance = long double (engine::tamblorProgram::*)(std::int32_t) const;
using Selected = bool (engine::tamblorProgram::*)() const;

struct IndexColumn {
    const char* label;
    Selected selected;
    Importance existing;
    Importance candidate;
};

using P = engine::tamblorProgram;
const IndexColumn indexColumns[] = {
    {"dA", &P::isASelected, &P::nodeImportanceA, &P::addedNodeImportanceA},
    {"dNL", &P::isNLSelected, &P::nodeImportanceNL, &P::addedNodeImportanceNL},
    {"dNC", &P::isNCSelected, &P::nodeImportanceNC, &P::addedNodeImportanceNC},
    {"dH", &P::isHSelected, &P::nodeImportanceH, &P::addedNodeImportanceH},
    {"dCCP", &P::isCCPSelected, &P::nodeImportanceCCP, &P::addedNodeImportanceCCP},
    {"dLCP", &P::isLCPSelected, &P::nodeImportanceLCP, &P::addedNodeImportanceLCP},
    {"dIIC", &P::isIICSelected, &P::nodeImportanceIIC, &P::addedNodeImportanceIIC},
    {"dF", &P::isFSelected, &P::nodeImportanceF, &P::addedNodeImportanceF},
    {"dAWF", &P::isAWFSelected, &P::nodeImportanceAWF, &P::addedNodeImportanceAWF},
    {"dPC", &P::isPCSelected, &P::nodeImportancePC, &P::addedNodeImportancePC},
};

}  // namespace

NodeImportanceTable nodeImportanceTable(const engine::tamblorProgram& program) {
    NodeImportanceTable table;
    for (std::int32_t i = 0; i < program.getNumNodes(); ++i) table.existingIds.push_back(program.getNodeId(i));
    for (std::int32_t i = 0; i < program.getNumAddedNodes(); ++i)
        table.candidateIds.push_back(program.getAddedNodeId(i));
    for (const IndexColumn& column : indexColumns) {
        if (!(program.*column.selected)()) continue;
        table.columns.push_back({column.label,
                                 [&program, f = column.existing](std::int32_t i) { return (program.*f)(i); },
                                 [&program, f = column.candidate](std::int32_t i) { return (program.*f)(i); }});
    }
    return table;
}

}  // namespace desktop::results
