#pragma once
// How a field of a new dBASE table is stored: the column's native type, width and
// decimals, derived from the field's host type, precision, scale and length; and the
// text a value takes in that column, written the same way whatever the locale (a
// decimal point, numbers right-aligned). A field or value that the column cannot hold
// raises the host's error naming the field.
#include <cstdint>
#include <optional>
#include <string>

#include "com/Variant.h"
#include "gishost/model/Fields.h"

namespace gishost::model {

struct DbaseColumn {
    std::string name;
    std::int32_t type = 0;  // the host field type the column keeps
    char nativeType = 'N';  // 'N' number, 'C' text, 'D' date
    int width = 0;
    int decimals = 0;
};

DbaseColumn dbaseColumn(const FieldDefinition& field);

// A value converted to the column's type (Null and Empty stay Null), with its text.
struct ColumnCell {
    com::Variant value;
    std::string text;
};

// The value converted to the column's type, and its text in the column; a value that
// does not fit raises the host's error.
ColumnCell columnCell(const DbaseColumn& column, const com::Variant& value);
// The exact text of a converted value in the column: `width` characters, blanks for Null.
std::string columnText(const DbaseColumn& column, const com::Variant& value);

}  // namespace gishost::model
