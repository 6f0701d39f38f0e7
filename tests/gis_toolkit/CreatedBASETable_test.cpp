// Creating dBASE tables through the host: the name less ".dbf", the default field set,
// the missing folder's message, and host failures reported.
#include <gtest/gtest.h>

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
