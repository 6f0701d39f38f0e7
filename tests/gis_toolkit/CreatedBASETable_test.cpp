// Creating dBASE tables through the host: the name less ".dbf", the default field set,
// the missing folder's message, a folder path too long for the system, and host
// failures reported.
#include <gtest/gtest.h>

#include <climits>

#include "com/Creation.h"
#include "gis_toolkit/aml_func_mod.h"
#include "gis_toolkit/support/RecordingErrorReport.h"
#include "gishost/model/HostModel.h"
#include "support/DbfReading.h"
#include "support/TestFiles.h"
#include "sysutils/MessageBoxes.h"

namespace {

using namespace gishost;
using gis_toolkit::aml_func_mod::CreatedBASETable;
using testing_support::DbfField;
using testing_support::everythingIn;

class CreatedBASETableTest : public ::testing::Test {
protected:
    void SetUp() override { model::registerHostClasses(); }

    testing_support::TemporaryFolder folder_;
    testing_support::RecordingErrorReport reports_;
    sysutils::ScriptedMessageBoxes boxes_;
};

TEST_F(CreatedBASETableTest, GivesTheCallerTheDefaultFieldSet) {
    com::ComPtr<IFields> fields;
    // Let go at once: the table then stands under its name.
    ASSERT_TRUE(CreatedBASETable(folder_.pathOf("count.dbf"), fields));
    ASSERT_TRUE(fields);
    ASSERT_EQ(fields->FieldCount(), 1);
    EXPECT_EQ(fields->Field(0)->Name(), "Unique_ID");
    EXPECT_EQ(fields->Field(0)->Type(), fieldType::Integer);
    EXPECT_EQ(fields->Field(0)->Precision(), 8);
    EXPECT_EQ(testing_support::readDbf(folder_.pathOf("count.dbf")).fields,
              (std::vector<DbfField>{{"Unique_ID", 'N', 8, 0}}));
}

TEST_F(CreatedBASETableTest, DropsOnlyALowerCaseDbfEnding) {
    com::ComPtr<IFields> fields;
    ASSERT_TRUE(CreatedBASETable(folder_.pathOf("with.dbf"), fields));
    ASSERT_TRUE(CreatedBASETable(folder_.pathOf("without"), fields));
    ASSERT_TRUE(CreatedBASETable(folder_.pathOf("upper.DBF"), fields));
    EXPECT_EQ(everythingIn(folder_.path()), (std::set<std::string>{"with.dbf", "without.dbf", "upper.DBF.dbf"}));
    // The path with and without ".dbf" names the same table, so the second is refused.
    EXPECT_FALSE(CreatedBASETable(folder_.pathOf("without.dbf"), fields));
    ASSERT_EQ(reports_.shown().size(), 1u);
    EXPECT_NE(reports_.shown()[0].find("CreatedBASETable aml_func_mod"), std::string::npos);
    EXPECT_NE(reports_.shown()[0].find("exists already"), std::string::npos);
}

TEST_F(CreatedBASETableTest, NamesAMissingFolderAndGivesNoTable) {
    com::ComPtr<IFields> fields;
    const std::string missing = folder_.pathOf("missing") + "/";
    EXPECT_FALSE(CreatedBASETable(missing + "count.dbf", fields));
    EXPECT_FALSE(fields);
    ASSERT_EQ(boxes_.boxes().size(), 1u);
    EXPECT_EQ(boxes_.boxes()[0], (sysutils::MessageBox{"Folder does not exist: \r" + missing, "Veltrano",
                                                       sysutils::MessageButtons::Ok, sysutils::MessageIcon::None}));
    EXPECT_TRUE(reports_.shown().empty());
}

// A folder the system does not look up because its path is too long is not said to be
// missing: the report says what has to change and names the table's path.
TEST_F(CreatedBASETableTest, ReportsAFolderPathLongerThanTheSystemAllowsAndGivesNoTable) {
    std::string tooManyNames = folder_.path().string();
    while (tooManyNames.size() <= PATH_MAX) tooManyNames += "/" + std::string(200, 'b');
    for (const std::string& folder : {folder_.pathOf(std::string(300, 'a')), tooManyNames}) {
        SCOPED_TRACE(folder.size());
        const std::string path = folder + "/count.dbf";
        com::ComPtr<IFields> fields;
        const std::size_t before = reports_.shown().size();
        EXPECT_FALSE(CreatedBASETable(path, fields));
        EXPECT_FALSE(fields);
        ASSERT_EQ(reports_.shown().size(), before + 1);
        EXPECT_EQ(reports_.shown().back(),
                  "Record Call Stack Sequence - Bottom line is error line.\r\n\r\n\tCreatedBASETable aml_func_mod \r\n"
                  "\r\nError Number \r\n\t52\r\nDescription\r\n\tBad file name or number: the path is too long: " +
                      path + "\r\n\r\n");
    }
    EXPECT_TRUE(boxes_.boxes().empty());
    EXPECT_TRUE(everythingIn(folder_.path()).empty());
}

TEST_F(CreatedBASETableTest, UsesTheFieldSetItIsGiven) {
    const auto field = com::createInstanceAs<IFieldEdit>(CLSID_Field);
    field->put_Name("Distance");
    field->put_Type(fieldType::Double);
    field->put_Precision(16);
    field->put_Scale(6);
    const auto set = com::createInstanceAs<IFieldsEdit>(CLSID_Fields);
    set->AddField(field.as<IField>());
    com::ComPtr<IFields> fields = set.as<IFields>();
    ASSERT_TRUE(CreatedBASETable(folder_.pathOf("distances.dbf"), fields));
    EXPECT_EQ(testing_support::readDbf(folder_.pathOf("distances.dbf")).fields,
              (std::vector<DbfField>{{"Distance", 'N', 16, 6}}));
}

}  // namespace
