#pragma once
// Reads a dBASE file back with shapelib: its field descriptions and every record's
// texts as stored (leading blanks trimmed), for comparing tables field by field.
#include <shapefil.h>

#include <string>
#include <vector>

namespace testing_support {

struct DbfField {
    std::string name;
    char type = ' ';  // 'N' numeric, 'C' character, ...
    int width = 0;
    int decimals = 0;

    bool operator==(const DbfField&) const = default;
};

struct DbfContents {
    bool opened = false;
    std::vector<DbfField> fields;
    std::vector<std::vector<std::string>> rows;
};

inline DbfContents readDbf(const std::string& path) {
    DbfContents contents;
    DBFHandle handle = DBFOpen(path.c_str(), "rb");
    if (handle == nullptr) return contents;
    contents.opened = true;
    for (int k = 0; k < DBFGetFieldCount(handle); ++k) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        int width = 0;
        int decimals = 0;
        DBFGetFieldInfo(handle, k, name, &width, &decimals);
        contents.fields.push_back({name, DBFGetNativeFieldType(handle, k), width, decimals});
    }
    for (int row = 0; row < DBFGetRecordCount(handle); ++row) {
        std::vector<std::string> values;
        for (int k = 0; k < DBFGetFieldCount(handle); ++k) values.emplace_back(DBFReadStringAttribute(handle, row, k));
        contents.rows.push_back(values);
    }
    DBFClose(handle);
    return contents;
}

}  // namespace testing_support
