// Writes the input as a dBASE file and reads its rows as a table window shows them. A
// refusal with its reason is the expected answer to a broken table; a crash, a hang, or
// a row with another number of values than the table has fields is a finding.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzInput.h"
#include "gishost/app/DbaseRows.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > fuzzing::maxInputSize) return -1;
    const std::string path = fuzzing::writeInputFile("table.dbf", data, size);
    try {
        const gishost::app::DbaseRows rows = gishost::app::readDbaseRows(path);
        for (const QStringList& row : rows.rows)
            if (row.size() != rows.fieldNames.size()) std::abort();
    } catch (const gishost::app::DbaseRowsError&) {
    }
    return 0;
}
