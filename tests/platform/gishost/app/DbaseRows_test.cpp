// The rows a table window shows: field names, values trimmed, Null as empty, deleted
// records left out, Western European texts decoded, and a header that promises more
// records than the file holds.
#include "gishost/app/DbaseRows.h"

#include <gtest/gtest.h>
#include <shapefil.h>

#include <filesystem>

#include "support/TestFiles.h"

namespace {

using gishost::app::DbaseRows;
using gishost::app::readDbaseRows;

std::string writeTable(const testing_support::TemporaryFolder& folder) {
    const std::string path = folder.pathOf("count.dbf");
    DBFHandle table = DBFCreateEx(path.c_str(), "LDID/87");
    DBFAddField(table, "ID", FTInteger, 9, 0);
    DBFAddField(table, "Place", FTString, 12, 0);
    DBFAddField(table, "Count", FTDouble, 10, 2);
    DBFWriteIntegerAttribute(table, 0, 0, 10);
    DBFWriteStringAttribute(table, 0, 1, "M\xE4rsta");
    DBFWriteDoubleAttribute(table, 0, 2, 2.5);
    DBFWriteIntegerAttribute(table, 1, 0, 20);
    DBFWriteStringAttribute(table, 1, 1, "gone");
    DBFWriteNULLAttribute(table, 1, 2);
    DBFMarkRecordDeleted(table, 1, 1);
    DBFWriteIntegerAttribute(table, 2, 0, 30);
    DBFWriteStringAttribute(table, 2, 1, "Ume\xE5");
    DBFWriteNULLAttribute(table, 2, 2);
    DBFClose(table);
    return path;
}

TEST(DbaseRows, ListsTheRecordsAsTexts) {
    testing_support::TemporaryFolder folder;
    const DbaseRows rows = readDbaseRows(writeTable(folder));
    EXPECT_EQ(rows.fieldNames, (QStringList{"ID", "Place", "Count"}));
    EXPECT_EQ(rows.numeric, (std::vector<bool>{true, false, true}));
    ASSERT_EQ(rows.rows.size(), 2u);
    EXPECT_EQ(rows.rows[0], (QStringList{"10", QString::fromUtf8("M\u00e4rsta"), "2.50"}));
    EXPECT_EQ(rows.rows[1], (QStringList{"30", QString::fromUtf8("Ume\u00e5"), ""}));
}

TEST(DbaseRows, BelievesTheHeaderOnlyAsFarAsTheFileGoes) {
    testing_support::TemporaryFolder folder;
    const std::string path = writeTable(folder);
    // Cut the file in the middle of its last record.
    std::filesystem::resize_file(path, std::filesystem::file_size(path) - 20);
    const DbaseRows rows = readDbaseRows(path);
    ASSERT_EQ(rows.rows.size(), 1u);
    EXPECT_EQ(rows.rows[0][0], "10");

    EXPECT_THROW(readDbaseRows(folder.write("notes.dbf", "no table")), gishost::app::DbaseRowsError);
    EXPECT_THROW(readDbaseRows(folder.pathOf("missing.dbf")), gishost::app::DbaseRowsError);
}

}  // namespace
