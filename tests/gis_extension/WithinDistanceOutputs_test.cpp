// The texts of the analysis outputs: attribute patterns by field type and scale,
// distances, the regional decimal separator, rich-text escaping of names and paths, and
// the report's numbering of the outputs written.
#include "gis_extension/WithinDistanceOutputs.h"

#include <gtest/gtest.h>

#include "support/TestFiles.h"
#include "sysutils/FormatSettings.h"

namespace {

using namespace gis_extension::WithinDistance;

struct AttributeCase {
    const char* name;
    std::int32_t fieldType;
    std::int32_t scale;
    com::Variant value;
    std::string point;
    std::string comma;
};

class AttributeTexts : public ::testing::TestWithParam<AttributeCase> {};

TEST_P(AttributeTexts, FollowTheFieldsTypeAndScale) {
    const AttributeCase& c = GetParam();
    const std::string pattern = AttributePattern(c.fieldType, c.scale);
    const bool floating = c.fieldType == 2 || c.fieldType == 3;
    {
        sysutils::ScopedDecimalSeparator point('.');
        EXPECT_EQ(AttributeText(c.value, pattern, floating), c.point);
    }
    sysutils::ScopedDecimalSeparator comma(',');
    EXPECT_EQ(AttributeText(c.value, pattern, floating), c.comma);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, AttributeTexts,
    ::testing::Values(AttributeCase{"DoubleScaleZeroGetsEightDecimals", 3, 0, 12.5, "12.50000000", "12,50000000"},
                      AttributeCase{"DoubleScaleTwo", 3, 2, 12.5, "12.50", "12,50"},
                      AttributeCase{"SingleIsWidenedBeforeFormatting", 2, 0, 12.3f, "12.30000019", "12,30000019"},
                      AttributeCase{"IntegerPlainDigits", 1, 0, std::int32_t{12}, "12", "12"},
                      AttributeCase{"SmallIntegerNegative", 0, 0, std::int16_t{-7}, "-7", "-7"},
                      AttributeCase{"RoundedToTheScale", 3, 2, 0.125 + 1e-9, "0.13", "0,13"},
                      AttributeCase{"LessThanOneKeepsItsZero", 3, 3, 0.5, "0.500", "0,500"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(DistanceText, HasNineDecimalsUnderTheRegionalSeparator) {
    sysutils::ScopedDecimalSeparator point('.');
    EXPECT_EQ(DistanceText(0.0), "0.000000000");
    EXPECT_EQ(DistanceText(12.5), "12.500000000");
    EXPECT_EQ(DistanceText(1234567.0), "1234567.000000000");
    sysutils::ScopedDecimalSeparator comma(',');
    EXPECT_EQ(DistanceText(12.5), "12,500000000");
}

TEST(IdText, IsTheValuesTextAsTheLayerStoresIt) {
    sysutils::ScopedDecimalSeparator point('.');
    EXPECT_EQ(IdText(std::int32_t{-42}), "-42");
    EXPECT_EQ(IdText(7.0), "7");
    EXPECT_EQ(IdText(std::string("P-17")), "P-17");
    EXPECT_THROW(IdText(com::Null{}), com::Error);
}

TEST(RtfEscaped, EscapesExactlyBackslashBracesAndWhatIsNotAscii) {
    EXPECT_EQ(RtfEscaped("patches 2026_v1"), "patches 2026_v1");
    EXPECT_EQ(RtfEscaped("a\\b{c}"), "a\\\\b\\{c\\}");
    EXPECT_EQ(RtfEscaped("Fläche"), "Fl\\u228?che");
    EXPECT_EQ(RtfEscaped("\xE2\x82\xAC"), "\\u8364?");                  // euro sign
    EXPECT_EQ(RtfEscaped("\xF0\x9F\x8C\xB2"), "\\u-10180?\\u-8398?");   // beyond 16 bits: a surrogate pair
    EXPECT_EQ(RtfEscaped("bad\xFF"), "bad\\u-3?");                      // not UTF-8: the replacement character
}

TEST(AnalysisReport, NumbersTheOutputsWrittenAndIsOtherwiseFixed) {
    const std::string elapsed = "\\b\\fs16 Analysis Began:\\b0\\i    x\\par\r\n";
    const std::string report = AnalysisReport(
        "patches {v2}", "ID", "Distances Calculated for All Features within 250 Meters...",
        {{Output::DistanceFile, "/data/out/distances.txt"}, {Output::NodeFile, "/data/out/nodes_2.txt"}}, elapsed);
    EXPECT_EQ(report, testing_support::readFile(std::string(BRELMARK_TEST_DATA) +
                                                "/expected/within_distance/report_two_outputs.rtf"));
}

}  // namespace
