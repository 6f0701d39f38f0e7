// dBASE tables: fields and records read back as written, numbers with a decimal point
// under a comma locale, values that do not fit refused, and a table that cannot be
// completed never touching the chosen file nor leaving a temporary one.
#include "dbase/TTable.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <filesystem>
#include <functional>
#include <iterator>
#include <limits>
#include <optional>
#include <ostream>
#include <set>
#include <string>

#include "support/DbfReading.h"
#include "support/TestFiles.h"
#include "sysutils/FormatSettings.h"
#include "sysutils/SafeFile.h"

namespace {

using dbase::TFieldType;
using dbase::TTable;
using testing_support::DbfField;
using testing_support::readDbf;
using testing_support::everythingIn;
using testing_support::openDescriptors;
using testing_support::readFile;
using testing_support::TemporaryFolder;

// The process runs under a locale whose decimal separator is a comma, as the program
// does for a German user.
class CommaLocale : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "scripts/install-dependencies adds de_DE.UTF-8";
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }

    TemporaryFolder folder;
    sysutils::ScopedDecimalSeparator regional{','};
};

const std::vector<dbase::TFieldDef> importanceFields{
    {"node", TFieldType::ftInteger}, {"dA", TFieldType::ftFloat}, {"dPC", TFieldType::ftFloat}};

const std::string oldTable = "an older table that must survive";

TEST_F(CommaLocale, TableHoldsItsFieldsAndRowsWithADecimalPoint) {
    const std::string target = folder.pathOf("node_importances.dbf");
    TTable table;
    table.CreateTable(target, importanceFields);
    table.Append();
    table.SetFieldAsInteger("node", std::numeric_limits<std::int32_t>::min());
    table.SetFieldAsFloat("dA", 12.5f);
    table.SetFieldAsFloat("dPC", 0.1f);
    table.Post();
    table.Append();  // as texts, converted by the fields under the regional settings
    table.SetFieldAsString("node", "2147483647");
    table.SetFieldAsString("dA", "33,3333300");
    table.SetFieldAsString("dPC", "-0,0000001");
    table.Post();
    table.Append();  // the largest values that the floating fields hold
    table.SetFieldAsInteger("node", 0);
    table.SetFieldAsFloat("dA", 999999999.5);
    table.SetFieldAsFloat("dPC", -99999999.5);
    table.Post();
    table.Close();
    EXPECT_FALSE(table.Active());

    const testing_support::DbfContents read = readDbf(target);
    ASSERT_TRUE(read.opened);
    EXPECT_EQ(read.fields, (std::vector<DbfField>{{"node", 'N', 11, 0}, {"dA", 'N', 20, 10}, {"dPC", 'N', 20, 10}}));
    EXPECT_EQ(read.rows,
              (std::vector<std::vector<std::string>>{{"-2147483648", "12.5000000000", "0.1000000015"},
                                                     {"2147483647", "33.3333300000", "-0.0000001000"},
                                                     {"0", "999999999.5000000000", "-99999999.5000000000"}}));
    EXPECT_EQ(everythingIn(folder.path()), (std::set<std::string>{"node_importances.dbf"}));
}

TEST_F(CommaLocale, TheTemporaryNameAsTargetIsAPlainTarget) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    folder.write("bdsntmp.dbf", oldTable);
    {
        TTable table;
        table.CreateTable("bdsntmp.dbf", {{"node", TFieldType::ftInteger}, {"component", TFieldType::ftInteger}});
        table.Append();
        table.SetFieldAsInteger("node", 5);
        table.SetFieldAsInteger("component", 1);
        table.Post();
        table.Close();
    }
    std::filesystem::current_path(previous);
    const testing_support::DbfContents read = readDbf(folder.pathOf("bdsntmp.dbf"));
    EXPECT_EQ(read.rows, (std::vector<std::vector<std::string>>{{"5", "1"}}));
    EXPECT_EQ(everythingIn(folder.path()), (std::set<std::string>{"bdsntmp.dbf"}));
}

struct RefusedCase {
    std::string name;
    std::function<void(TTable&)> set;
    std::string message;
};

void PrintTo(const RefusedCase& c, std::ostream* out) { *out << c.name; }

class CommaLocaleRefusal : public CommaLocale, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(CommaLocaleRefusal, RaisesAndLeavesTheChosenFileAlone) {
    const RefusedCase& c = GetParam();
    const std::string target = folder.write("node_importances.dbf", oldTable);
    const std::set<std::string> before = everythingIn(folder.path());
    const std::size_t descriptors = openDescriptors();
    {
        TTable table;
        table.CreateTable(target, importanceFields);
        table.Append();
        try {
            c.set(table);
            FAIL() << "the value was taken";
        } catch (const sysutils::Exception& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
    EXPECT_EQ(readFile(target), oldTable);
    EXPECT_EQ(everythingIn(folder.path()), before);
    EXPECT_EQ(openDescriptors(), descriptors);
}

INSTANTIATE_TEST_SUITE_P(
    Values, CommaLocaleRefusal,
    ::testing::Values(
        RefusedCase{"TooLargeForTheField", [](TTable& table) { table.SetFieldAsFloat("dA", 1e9); },
                    "The value 1000000000 does not fit into the field dA (20 characters with 10 decimals)"},
        RefusedCase{"TooLargeNegative", [](TTable& table) { table.SetFieldAsFloat("dA", -1e8); }, "does not fit"},
        RefusedCase{"NotANumber", [](TTable& table) { table.SetFieldAsFloat("dPC", std::nan("")); }, "does not fit"},
        RefusedCase{"Infinite", [](TTable& table) { table.SetFieldAsFloat("dPC", HUGE_VAL); }, "does not fit"},
        RefusedCase{"ScientificTextTooLarge", [](TTable& table) { table.SetFieldAsString("dA", "1,234568E12"); },
                    "does not fit"},
        RefusedCase{"PointUnderCommaSettings", [](TTable& table) { table.SetFieldAsString("dA", "1.5"); },
                    "'1.5' is not a valid floating point value"},
        RefusedCase{"IntegerBeyond32Bits", [](TTable& table) { table.SetFieldAsString("node", "2147483648"); },
                    "'2147483648' is not a valid integer value"},
        RefusedCase{"DecimalsForAnIntegerField", [](TTable& table) { table.SetFieldAsString("node", "12,5"); },
                    "'12,5' is not a valid integer value"},
        RefusedCase{"UnknownField", [](TTable& table) { table.SetFieldAsInteger("dX", 1); }, "Field 'dX' not found"}),
    [](const auto& param) { return param.param.name; });

struct IncompleteCase {
    std::string name;
    sysutils::FileFault fault;
    std::size_t bytesBeforeFailure;
    std::string reason;
};

void PrintTo(const IncompleteCase& c, std::ostream* out) { *out << c.name; }

class CommaLocaleIncomplete : public CommaLocale, public ::testing::WithParamInterface<IncompleteCase> {};

// Writes two records; any step may raise once the file system fails.
void writeTwoRecords(const std::string& target) {
    TTable table;
    table.CreateTable(target, importanceFields);
    for (int node = 1; node <= 2; ++node) {
        table.Append();
        table.SetFieldAsInteger("node", node);
        table.SetFieldAsFloat("dA", 50.0);
        table.SetFieldAsFloat("dPC", 25.0);
        table.Post();
    }
    table.Close();
}

TEST_P(CommaLocaleIncomplete, FailsNamingTheFileAndLosesNothing) {
    const IncompleteCase& c = GetParam();
    const std::string target = folder.write("node_importances.dbf", oldTable);
    const std::set<std::string> before = everythingIn(folder.path());
    const std::size_t descriptors = openDescriptors();
    {
        sysutils::ScopedFileFault fault(c.fault, c.bytesBeforeFailure);
        try {
            writeTwoRecords(target);
            FAIL() << "the save completed";
        } catch (const dbase::EDatabaseError& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind("Cannot save " + target + ": ", 0), 0u) << message;
            EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        }
    }
    EXPECT_EQ(readFile(target), oldTable);
    EXPECT_EQ(everythingIn(folder.path()), before);
    EXPECT_EQ(openDescriptors(), descriptors);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CommaLocaleIncomplete,
    ::testing::Values(IncompleteCase{"DiskFullAtOnce", sysutils::FileFault::Write, 0, "No space left on device"},
                      IncompleteCase{"DiskFullInTheRecords", sysutils::FileFault::Write, 150, "writing failed"},
                      IncompleteCase{"FlushToDiskFails", sysutils::FileFault::Sync, 0, "writing to disk failed"}),
    [](const auto& param) { return param.param.name; });

TEST_F(CommaLocale, TableInAFolderThatCannotHoldItIsNotCreated) {
    const std::string plainFile = folder.write("plain", "x");
    for (const std::string& target : {folder.pathOf("vanished") + "/components.dbf", plainFile + "/components.dbf"}) {
        TTable table;
        EXPECT_THROW(table.CreateTable(target, importanceFields), dbase::EDatabaseError) << target;
        EXPECT_FALSE(table.Active());
    }
    EXPECT_EQ(everythingIn(folder.path()), (std::set<std::string>{"plain"}));
}

TEST_F(CommaLocale, AnUnfinishedTableLeavesTheChosenFileAlone) {
    const std::string target = folder.write("components.dbf", oldTable);
    {
        TTable cancelled;
        cancelled.CreateTable(target, importanceFields);
        cancelled.Append();
        cancelled.SetFieldAsInteger("node", 1);
        cancelled.Post();
        cancelled.Cancel();
        TTable abandoned;
        abandoned.CreateTable(target, importanceFields);
        abandoned.Append();
    }
    EXPECT_EQ(readFile(target), oldTable);
    EXPECT_EQ(everythingIn(folder.path()), (std::set<std::string>{"components.dbf"}));
}

}  // namespace
