// dBASE tables through the folder workspace: field kinds, buffered rows that reach the
// file at Flush with a decimal point whatever the locale, creation that never touches an
// existing table nor leaves a half-made one, and a name taken only with the rows counted.
#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <functional>
#include <map>

#include <gdal.h>
#include <ogr_api.h>

#include "LayerFixtures.h"
#include "com/Creation.h"
#include "gishost/model/DbaseTable.h"
#include "gishost/model/HostModel.h"
#include "support/DbfReading.h"
#include "support/TestFiles.h"
#include "sysutils/FormatSettings.h"
#include "sysutils/SafeFile.h"

namespace {

using namespace gishost;
using testing_support::DbfField;
using testing_support::everythingIn;
using testing_support::readDbf;
using testing_support::readFile;
using testing_support::TemporaryFolder;

com::ComPtr<IField> newField(const std::string& name, std::int32_t type, std::int32_t precision = 0,
                             std::int32_t scale = 0, std::int32_t length = 0) {
    const auto field = com::createInstanceAs<IFieldEdit>(CLSID_Field);
    field->put_Name(name);
    field->put_Type(type);
    field->put_Precision(precision);
    field->put_Scale(scale);
    field->put_Length(length);
    return field.as<IField>();
}

com::ComPtr<IFields> fieldSet(const std::vector<com::ComPtr<IField>>& fields) {
    const auto set = com::createInstanceAs<IFieldsEdit>(CLSID_Fields);
    set->put_FieldCount(static_cast<std::int32_t>(fields.size()));
    for (std::size_t k = 0; k < fields.size(); ++k) set->putref_Field(static_cast<std::int32_t>(k), fields[k]);
    return set.as<IFields>();
}

com::ComPtr<IFeatureWorkspace> workspaceOf(const std::string& folder) {
    return com::createInstanceAs<IWorkspaceFactory>(CLSID_ShapefileWorkspaceFactory)
        ->OpenFromFile(folder, nullptr)
        .as<IFeatureWorkspace>();
}

class DbaseTable : public ::testing::Test {
protected:
    void SetUp() override { model::registerHostClasses(); }

    com::ComPtr<ITable> create(const std::string& name, const std::vector<com::ComPtr<IField>>& fields) {
        return workspaceOf(folder_.path().string())->CreateTable(name, fieldSet(fields), nullptr, nullptr, "");
    }

    TemporaryFolder folder_;
};

// The process runs under a locale whose decimal separator is a comma.
class CommaLocale : public DbaseTable {
protected:
    void SetUp() override {
        DbaseTable::SetUp();
        ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "scripts/install-dependencies adds de_DE.UTF-8";
    }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }

    sysutils::ScopedDecimalSeparator regional_{','};
};

TEST_F(CommaLocale, WritesEveryFieldKindWithADecimalPointAndRowsAtFlush) {
    // A layer's field, copied under another name, as the analysis copies its ID field.
    testing_support::FixtureLayer layer{"shp", "ids", wkbPoint, 0, {{"ident", OFTReal, 12, 3}}, {}};
    const auto idField = model::openFeatureLayer(testing_support::writeLayer(folder_.pathOf("ids.shp"), layer))
                             ->FeatureClass()
                             ->Fields()
                             ->Field(2);
    const auto copy = idField.as<IClone>()->Clone().as<IFieldEdit>();
    copy->put_Name("From_ID");

    const auto table = create("distances", {newField("Unique_ID", fieldType::Integer, 10),
                                            copy.as<IField>(), newField("Distance", fieldType::Double, 16, 6),
                                            newField("Label", fieldType::String, 0, 0, 8),
                                            newField("Day", fieldType::Date), newField("Small", fieldType::SmallInteger, 4)});
    ASSERT_TRUE(table);
    const auto cursor = table->Insert(true);
    const auto row = table->CreateRowBuffer();
    row->put_Value(table->FindField("Unique_ID"), std::int32_t{1});
    row->put_Value(table->FindField("From_ID"), -12.5);
    row->put_Value(table->FindField("Distance"), std::string("2,5"));  // converted under the regional settings
    row->put_Value(table->FindField("Label"), "abc");
    row->put_Value(table->FindField("Day"), com::Date{46366.0});
    row->put_Value(table->FindField("Small"), std::int16_t{-7});
    EXPECT_EQ(row->Value(table->FindField("Distance")), com::Variant(2.5));
    cursor->InsertRow(row);
    row->put_Value(0, std::int32_t{2});
    row->put_Value(2, 1234567.25);
    row->put_Value(3, com::Null{});
    cursor->InsertRow(row);

    const std::string path = folder_.pathOf("distances.dbf");
    EXPECT_TRUE(readDbf(path).rows.empty()) << "buffered rows wait for Flush";
    cursor->Flush();

    const auto contents = readDbf(path);
    EXPECT_EQ(contents.fields, (std::vector<DbfField>{{"Unique_ID", 'N', 10, 0},
                                                      {"From_ID", 'N', 12, 3},
                                                      {"Distance", 'N', 16, 6},
                                                      {"Label", 'C', 8, 0},
                                                      {"Day", 'D', 8, 0},
                                                      {"Small", 'N', 4, 0}}));
    ASSERT_EQ(contents.rows.size(), 2u);
    EXPECT_EQ(contents.rows[0], (std::vector<std::string>{"1", "-12.500", "2.500000", "abc", "20261210", "-7"}));
    EXPECT_EQ(contents.rows[1], (std::vector<std::string>{"2", "-12.500", "1234567.250000", "", "20261210", "-7"}));

    // GDAL reads the same numbers.
    GDALDatasetH dataset = GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    ASSERT_NE(dataset, nullptr);
    OGRLayerH read = GDALDatasetGetLayer(dataset, 0);
    OGRFeatureH second = OGR_L_GetFeature(read, 1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(OGR_F_GetFieldAsDouble(second, 2), 1234567.25);
    EXPECT_FALSE(OGR_F_IsFieldSetAndNotNull(second, 3));
    OGR_F_Destroy(second);
    GDALClose(dataset);
}

TEST_F(DbaseTable, WritesEachRowAtOnceWithoutBuffering) {
    const auto table = create("count", {newField("Unique_ID", fieldType::Integer, 8)});
    const auto row = table->CreateRowBuffer();
    row->put_Value(0, std::int32_t{42});
    table->Insert(false)->InsertRow(row);
    EXPECT_EQ(readDbf(folder_.pathOf("count.dbf")).rows, (std::vector<std::vector<std::string>>{{"42"}}));
}

TEST_F(DbaseTable, RefusesAValueThatDoesNotFitItsField) {
    const auto table = create("narrow", {newField("n", fieldType::Integer, 3), newField("t", fieldType::String, 0, 0, 2)});
    const auto row = table->CreateRowBuffer();
    EXPECT_THROW(row->put_Value(0, std::int32_t{1000}), com::Error);
    EXPECT_THROW(row->put_Value(1, "abc"), com::Error);
    EXPECT_NO_THROW(row->put_Value(0, std::int32_t{-99}));
}

TEST_F(DbaseTable, LeavesAnExistingTableUntouched) {
    const std::string existing = folder_.write("count.dbf", "a table of somebody else");
    EXPECT_THROW(create("count", {newField("Unique_ID", fieldType::Integer, 8)}), com::Error);
    EXPECT_EQ(readFile(existing), "a table of somebody else");
    EXPECT_EQ(everythingIn(folder_.path()), (std::set<std::string>{"count.dbf"}));
}

struct RefusedCase {
    const char* name;
    std::function<com::ComPtr<IField>()> field;
};

class RefusedFields : public DbaseTable, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedFields, LeaveNoFileBehind) {
    EXPECT_THROW(create("refused", {newField("Unique_ID", fieldType::Integer, 8), GetParam().field()}), com::Error);
    EXPECT_TRUE(everythingIn(folder_.path()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Definitions, RefusedFields,
    ::testing::Values(RefusedCase{"NameLongerThanTenCharacters", [] { return newField("ElevenChars", fieldType::Integer); }},
                      RefusedCase{"NameUsedTwice", [] { return newField("unique_id", fieldType::Integer); }},
                      RefusedCase{"GeometryField", [] { return newField("Shape", fieldType::Geometry); }},
                      RefusedCase{"MoreDecimalsThanWidth", [] { return newField("d", fieldType::Double, 5, 4); }},
                      RefusedCase{"NoFieldAtAll", [] { return com::ComPtr<IField>(); }}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(DbaseTable, LeavesNoHalfMadeFileWhenWritingFails) {
    sysutils::ScopedFileFault fault(sysutils::FileFault::Write, 40);
    EXPECT_THROW(create("broken", {newField("Unique_ID", fieldType::Integer, 8), newField("b", fieldType::Double)}),
                 com::Error);
    EXPECT_TRUE(everythingIn(folder_.path()).empty());
}

// A table under its name always counts every record it holds: until then it is built in
// a hidden temporary file that no reader takes for a table.
TEST_F(DbaseTable, TakesItsNameOnlyWithItsRowsCounted) {
    const std::map<std::string, std::function<void(com::ComPtr<ITable>&, com::ComPtr<ICursor>&)>> endings = {
        {"at Flush", [](com::ComPtr<ITable>&, com::ComPtr<ICursor>& cursor) { cursor->Flush(); }},
        {"when let go, as after an error",
         [](com::ComPtr<ITable>& table, com::ComPtr<ICursor>& cursor) {
             cursor.reset();
             table.reset();
         }},
    };
    for (const auto& [ending, end] : endings) {
        TemporaryFolder folder;
        auto table = workspaceOf(folder.path().string())
                         ->CreateTable("count", fieldSet({newField("n", fieldType::Integer, 8)}), nullptr, nullptr, "");
        auto cursor = table->Insert(true);
        const auto row = table->CreateRowBuffer();
        // Enough rows to be written ahead of the Flush.
        for (std::int32_t n = 0; n < 500000; ++n) {
            row->put_Value(0, n);
            cursor->InsertRow(row);
        }
        const std::set<std::string> building = everythingIn(folder.path());
        ASSERT_EQ(building.size(), 1u) << ending;
        const std::string temporary = *building.begin();
        EXPECT_EQ(temporary.front(), '.') << ending;
        EXPECT_EQ(temporary.substr(temporary.size() - 4), ".tmp") << ending;
        EXPECT_GT(std::filesystem::file_size(folder.path() / temporary), 4u << 20) << ending;
        // A second table of that name is refused while the first is on its way.
        EXPECT_THROW(workspaceOf(folder.path().string())
                         ->CreateTable("count", fieldSet({newField("n", fieldType::Integer, 8)}), nullptr, nullptr, ""),
                     com::Error)
            << ending;

        end(table, cursor);
        EXPECT_EQ(everythingIn(folder.path()), std::set<std::string>{"count.dbf"}) << ending;
        const auto contents = readDbf(folder.pathOf("count.dbf"));
        ASSERT_EQ(contents.rows.size(), 500000u) << ending;
        EXPECT_EQ(contents.rows.back(), std::vector<std::string>{"499999"}) << ending;
        if (table) {
            EXPECT_EQ(table.as<model::ITableFile>()->FilePath(), folder.pathOf("count.dbf")) << ending;
        }
    }
}

// A deleted table leaves nothing in its folder, whether it had its name yet or not, and
// a name it was on its way to is free again.
TEST_F(DbaseTable, LeavesNothingOnceDeletedWithOrWithoutItsName) {
    for (const bool named : {false, true}) {
        TemporaryFolder folder;
        auto table = workspaceOf(folder.path().string())
                         ->CreateTable("count", fieldSet({newField("n", fieldType::Integer, 8)}), nullptr, nullptr, "");
        auto cursor = table->Insert(true);
        if (named) cursor->Flush();
        ASSERT_EQ(everythingIn(folder.path()).size(), 1u) << named;
        table.as<IDataset>()->Delete();
        cursor.reset();
        table.reset();
        EXPECT_TRUE(everythingIn(folder.path()).empty()) << named;
        EXPECT_TRUE(workspaceOf(folder.path().string())
                        ->CreateTable("count", fieldSet({newField("n", fieldType::Integer, 8)}), nullptr, nullptr, ""))
            << named;
    }
}

TEST_F(DbaseTable, OpensOnlyAFolderAsAWorkspace) {
    const std::string file = folder_.write("plain.txt", "");
    const auto factory = com::createInstanceAs<IWorkspaceFactory>(CLSID_ShapefileWorkspaceFactory);
    EXPECT_THROW(factory->OpenFromFile(file, nullptr), com::Error);
    EXPECT_THROW(factory->OpenFromFile(folder_.pathOf("missing"), nullptr), com::Error);
    EXPECT_EQ(factory->OpenFromFile(folder_.path().string(), nullptr)->PathName(), folder_.path().string());
}

}  // namespace
