#include "desktop/results/ResultTables.h"

#include <cstdint>
#include <functional>
#include <vector>

#include "dbase/TTable.h"
#include "desktop/results/NodeImportanceTable.h"
#include "desktop/results/ResultTexts.h"
#include "engine/tamblorProgram.h"
#include "sysutils/FloatConversion.h"

namespace desktop::results {
namespace {

using dbase::TFieldDef;
using dbase::TFieldType;

// Creates, fills and closes the table; any error ends the save with the chosen file
// untouched (the table's destructor removes what was written so far).
sysutils::SaveResult saveTable(const std::string& fileName, const std::vector<TFieldDef>& fields,
                               const std::function<void(dbase::TTable&)>& fill) {
    try {
        dbase::TTable table;
        table.CreateTable(fileName, fields);
        fill(table);
        table.Close();
        return sysutils::SaveResult::success();
    } catch (const dbase::EDatabaseError& error) {
        return sysutils::SaveResult::failure(error.what());
    } catch (const std::exception& error) {
        return sysutils::SaveResult::failure("Cannot save " + fileName + ": " + error.what());
    } catch (...) {
        return sysutils::SaveResult::failure("Cannot save " + fileName + ": unknown error");
    }
}

}  // namespace

sysutils::SaveResult saveNodeImportanceTable(const engine::tamblorProgram& program, const std::string& fileName) {
    const NodeImportanceTable importances = nodeImportanceTable(program);
    std::vector<TFieldDef> fields{{"node", TFieldType::ftInteger}};
    for (const ImportanceColumn& column : importances.columns) fields.push_back({column.label, TFieldType::ftFloat});
    return saveTable(fileName, fields, [&importances](dbase::TTable& table) {
        for (std::size_t i = 0; i < importances.existingIds.size(); ++i) {
            table.Append();
            table.SetFieldAsInteger("node", importances.existingIds[i]);
            for (const ImportanceColumn& column : importances.columns)
                table.SetFieldAsFloat(column.label, static_cast<float>(column.existing(static_cast<std::int32_t>(i))));
            table.Post();
        }
        for (std::size_t i = 0; i < importances.candidateIds.size(); ++i) {
            table.Append();
            table.SetFieldAsString("node", sysutils::IntToStr(importances.candidateIds[i]));
            for (const ImportanceColumn& column : importances.columns)
                table.SetFieldAsString(column.label,
                                       F7(static_cast<double>(column.candidate(static_cast<std::int32_t>(i)))));
            table.Post();
        }
    });
}

sysutils::SaveResult saveComponentTable(const engine::tamblorProgram& program, const std::string& fileName) {
    return saveTable(fileName, {{"node", TFieldType::ftInteger}, {"component", TFieldType::ftInteger}},
                     [&program](dbase::TTable& table) {
                         for (std::int32_t i = 0; i < program.getNumNodes(); ++i) {
                             table.Append();
                             table.SetFieldAsInteger("node", program.getNodeId(i));
                             table.SetFieldAsInteger("component", program.getNodeComponent(i) + 1);
                             table.Post();
                         }
                     });
}

}  // namespace desktop::results
