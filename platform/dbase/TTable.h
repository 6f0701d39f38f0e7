#pragma once
// The database engine's table, as the program uses it: create a dBASE table with
// integer and floating fields, append records, set fields by name, post, close.
// The table is written into a temporary file beside the chosen one and renamed over
// it only when it is complete; until then, and after any failure, the chosen file is
// untouched and no temporary file stays behind. Numbers are written with a decimal
// point whatever the locale of the process. Errors raise EDatabaseError.
// Relies on shapelib for the file format and on sysutils for the temporary file.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sysutils/Exception.h"

namespace dbase {

class EDatabaseError : public sysutils::Exception {
public:
    using Exception::Exception;
};

enum class TFieldType { ftInteger, ftFloat };

struct TFieldDef {
    std::string Name;  // at most 10 characters, as dBASE allows
    TFieldType DataType = TFieldType::ftFloat;
};

// Numeric field layouts. An integer field holds every 32-bit integer ("-2147483648" has
// 11 characters). A floating field keeps 10 decimals in 20 characters: 7 significant
// digits down to 0.001 and more above, values up to 999999999.9999999999 (negative ones
// down to -99999999.9999999999); 20 characters are the most that dBASE readers accept.
inline constexpr int integerFieldWidth = 11;
inline constexpr int floatFieldWidth = 20;
inline constexpr int floatFieldDecimals = 10;

class TTable {
public:
    TTable();
    // An unfinished table is discarded: its temporary file is removed.
    ~TTable();
    TTable(const TTable&) = delete;
    TTable& operator=(const TTable&) = delete;

    // Creates an empty table that Close will put in place of `fileName`, with the fields
    // in the order given. Field names must be unique, non-empty and at most 10 characters.
    void CreateTable(const std::string& fileName, const std::vector<TFieldDef>& fields);
    bool Active() const;

    // Starts a new record with every field empty; a record not yet posted is posted first.
    void Append();
    // Set a field of the record being appended. Numbers are taken as they are; a text is
    // converted by the field under the regional settings (an integer, or a number with
    // the regional decimal separator). A value that the field cannot hold raises.
    void SetFieldAsInteger(const std::string& name, std::int32_t value);
    void SetFieldAsFloat(const std::string& name, double value);
    void SetFieldAsString(const std::string& name, const std::string& text);
    // Writes the record being appended.
    void Post();

    // Finishes the file and renames it over the chosen file; a record not posted is
    // dropped. On failure the chosen file stays as it was and the error names it.
    void Close();
    // Drops the table without touching the chosen file.
    void Cancel();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace dbase
