#pragma once
// The dBASE tables of the results: the node importances (field "node", then one field
// per selected index) and the component of each existing node ("node", "component",
// numbered from 1). Existing nodes' values go to the fields as numbers (the importance
// as a 32-bit float); candidates' as texts (the ID in decimal, the importance in F7)
// that the fields convert under the regional settings. A table is written beside the
// chosen file and renamed over it only when complete; a failure leaves the chosen
// file as it was, and the result's error names it.
#include <string>

#include "sysutils/SafeFile.h"

namespace engine {
class tamblorProgram;
}

namespace desktop::results {

// The message of a failed table save, to show captioned "Error!".
inline const char* const dbfSaveErrorText = "Error saving dbf file";

sysutils::SaveResult saveNodeImportanceTable(const engine::tamblorProgram& program, const std::string& fileName);
sysutils::SaveResult saveComponentTable(const engine::tamblorProgram& program, const std::string& fileName);

}  // namespace desktop::results
