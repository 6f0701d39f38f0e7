// GUID texts, the variant's conversions and the keyed collection.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "com/Collection.h"
#include "com/Error.h"
#include "com/Guid.h"
#include "com/Variant.h"
#include "sysutils/FormatSettings.h"
#include "support/RunTimeErrors.h"

namespace {

using testing_support::errorNumberOf;

TEST(Guid, ReadsEitherCaseAndWritesUpperCase) {
    constexpr com::GUID literal = com::guid("{40accbda-720a-4b17-980b-b173f791958e}");
    EXPECT_EQ(com::toString(literal), "{40ACCBDA-720A-4B17-980B-B173F791958E}");
    EXPECT_EQ(com::parseGuid("{40ACCBDA-720A-4B17-980B-B173F791958E}"), literal);
    for (const char* bad : {"", "40ACCBDA-720A-4B17-980B-B173F791958E", "{40ACCBDA-720A-4B17-980B-B173F791958}",
                            "{40ACCBDA+720A-4B17-980B-B173F791958E}", "{40ACCBDA-720A-4B17-980B-B173F791958G}"})
        EXPECT_EQ(com::parseGuid(bad), std::nullopt) << bad;
}

struct TextCase {
    const char* name;
    com::Variant value;
    std::string text;
};

class VariantText : public ::testing::TestWithParam<TextCase> {};

TEST_P(VariantText, IsTheRunTimesTextOfTheValue) {
    sysutils::ScopedDecimalSeparator point('.');
    EXPECT_EQ(com::toText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, VariantText,
    ::testing::Values(TextCase{"Long", std::int32_t{-1234567}, "-1234567"},
                      TextCase{"Integer", std::int16_t{42}, "42"},
                      TextCase{"SingleShortestWithSevenDigits", 12.3f, "12.3"},
                      TextCase{"DoubleShortestWithFifteenDigits", 0.1 + 0.2, "0.3"},
                      TextCase{"DoubleWhole", 250.0, "250"},
                      TextCase{"LargeDoubleWithSignedExponent", 1e20, "1E+20"},
                      TextCase{"SmallDoubleWithTwoExponentDigits", 1.5e-7, "1.5E-07"},
                      TextCase{"Boolean", true, "True"},
                      TextCase{"Text", std::string("a b"), "a b"},
                      TextCase{"Empty", com::Variant(), ""}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(Variant, ConvertsUnderTheRegionalSettingsAndRaisesTheRunTimesErrors) {
    sysutils::ScopedDecimalSeparator comma(',');
    EXPECT_EQ(com::toText(2.5), "2,5");
    EXPECT_EQ(com::toDouble(std::string("250,5")), 250.5);
    EXPECT_EQ(com::toLong(2.5), 2);  // half to even
    EXPECT_EQ(com::toLong(3.5), 4);
    EXPECT_EQ(com::toLong(true), -1);
    EXPECT_EQ(errorNumberOf([] { com::toText(com::Null{}); }), com::errors::InvalidUseOfNull);
    EXPECT_EQ(errorNumberOf([] { com::toLong(com::Null{}); }), com::errors::InvalidUseOfNull);
    EXPECT_EQ(errorNumberOf([] { com::toDouble(std::string("abc")); }), com::errors::TypeMismatch);
    EXPECT_EQ(errorNumberOf([] { com::toLong(3e9); }), com::errors::Overflow);
    EXPECT_EQ(errorNumberOf([] { com::toInteger(std::int32_t{40000}); }), com::errors::Overflow);
}

TEST(Collection, FindsItemsByKeyWithoutRegardToCaseAndByPosition) {
    com::Collection<std::string> collection;
    collection.Add("first", "17");
    collection.Add("second", "Key");
    collection.Add("third");
    EXPECT_EQ(collection.Count(), 3);
    EXPECT_EQ(collection.Item("key"), "second");
    EXPECT_EQ(collection.Item(3), "third");
    EXPECT_EQ(collection.find("18"), nullptr);
    EXPECT_EQ(errorNumberOf([&] { collection.Add("again", "KEY"); }), com::errors::DuplicateKey);
    EXPECT_EQ(errorNumberOf([&] { collection.Item("18"); }), com::errors::InvalidProcedureCall);
    EXPECT_EQ(errorNumberOf([&] { collection.Item(4); }), com::errors::SubscriptOutOfRange);
    collection.Remove("17");
    EXPECT_EQ(collection.Item(1), "second");
    EXPECT_EQ(collection.Item("Key"), "second");
}

}  // namespace
