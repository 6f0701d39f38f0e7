#pragma once
// The rows of a dBASE table as texts, for a table window to show: the field names (and
// which fields hold numbers) and,
// for every record that is not marked deleted, each field's text with its padding blanks
// trimmed (empty for Null). Texts are decoded from the Western European code page that
// the host's tables are written in.
#include <QString>
#include <QStringList>
#include <stdexcept>
#include <string>
#include <vector>

namespace gishost::app {

struct DbaseRows {
    QStringList fieldNames;
    std::vector<bool> numeric;  // per field: whether it holds numbers
    std::vector<QStringList> rows;
};

class DbaseRowsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The table in the file at `path`; a file that is not a readable dBASE table raises
// DbaseRowsError. A header that promises more records than the file holds gives the
// records that are there.
DbaseRows readDbaseRows(const std::string& path);

}  // namespace gishost::app
