// Number texts of the class library: general and fixed formats, the regional decimal
// separator, and reading numbers back.
#include "sysutils/FloatConversion.h"

#include <gtest/gtest.h>

#include <string>

#include "sysutils/Exception.h"
#include "sysutils/FormatSettings.h"

namespace {

using sysutils::FloatToStr;
using sysutils::FloatToStrF;
using sysutils::TFloatFormat;

struct FormatCase {
    const char* name;
    double value;
    std::string general;
};

class FloatToStrCases : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FloatToStrCases, WritesFifteenSignificantDigits) {
    sysutils::ScopedDecimalSeparator point('.');
    EXPECT_EQ(FloatToStr(GetParam().value), GetParam().general);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FloatToStrCases,
    ::testing::Values(FormatCase{"WidenedFloatShowsItsBinaryValue", static_cast<double>(0.1f), "0.100000001490116"},
                      FormatCase{"WholeNumberAsPlainDigits", 1000.0, "1000"},
                      FormatCase{"Zero", 0.0, "0"},
                      FormatCase{"Negative", -2.5, "-2.5"},
                      FormatCase{"FifteenDigitsBeforeThePointStayFixed", 123456789012345.0, "123456789012345"},
                      FormatCase{"SixteenDigitsGoScientific", 1234567890123456.0, "1.23456789012346E15"},
                      FormatCase{"LargePowerOfTen", 1e20, "1E20"},
                      FormatCase{"SmallestFixedMagnitude", 0.00001, "0.00001"},
                      FormatCase{"BelowItScientific", 0.0000015, "1.5E-6"},
                      FormatCase{"RoundingCarriesIntoANewDigit", 9.9999999999999999, "10"},
                      FormatCase{"MissingDistanceValue", 2147483648.0, "2147483648"}),
    [](const auto& param) { return std::string(param.param.name); });

struct FixedCase {
    const char* name;
    double value;
    int precision;
    int digits;
    std::string expected;
};

class FloatToStrFFixed : public ::testing::TestWithParam<FixedCase> {};

TEST_P(FloatToStrFFixed, RoundsToPrecisionAndDigits) {
    sysutils::ScopedDecimalSeparator point('.');
    const FixedCase& c = GetParam();
    EXPECT_EQ(FloatToStrF(c.value, TFloatFormat::ffFixed, c.precision, c.digits), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FloatToStrFFixed,
    ::testing::Values(FixedCase{"TwoDecimalsOfAFloat", static_cast<double>(0.05f), 3, 2, "0.05"},
                      FixedCase{"PaddedWithZeros", static_cast<double>(0.5f), 3, 2, "0.50"},
                      FixedCase{"RoundedDown", static_cast<double>(0.123f), 3, 2, "0.12"},
                      FixedCase{"TooSmallForTwoDecimals", static_cast<double>(0.001f), 3, 2, "0.00"},
                      FixedCase{"RoundsUpAcrossTheLastDecimal", static_cast<double>(0.006f), 3, 2, "0.01"},
                      FixedCase{"PrecisionLimitsDigitsBeforeDecimals", 12.345, 3, 2, "12.30"},
                      FixedCase{"SevenDigits", 2.5, 7, 7, "2.5000000"},
                      FixedCase{"SevenSignificantDigitsOfAFloat", static_cast<double>(0.1f), 7, 7, "0.1000000"},
                      FixedCase{"HalfRoundsAwayFromZero", 1234.5625, 7, 7, "1234.5630000"},
                      FixedCase{"NegativeValue", -33.333333333, 7, 7, "-33.3333300"},
                      FixedCase{"NegativeRoundingToZeroHasNoSign", -0.0001, 3, 2, "0.00"},
                      FixedCase{"SevenDigitsBeforeThePointStayFixed", 9999999.0, 7, 7, "9999999.0000000"},
                      FixedCase{"TenMillionGoesScientific", 1e7, 7, 7, "1E7"},
                      FixedCase{"NoDecimals", 2.5, 7, 0, "3"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(RegionalDecimalSeparator, IsUsedByEveryFormat) {
    sysutils::ScopedDecimalSeparator comma(',');
    EXPECT_EQ(FloatToStr(static_cast<double>(0.1f)), "0,100000001490116");
    EXPECT_EQ(FloatToStrF(0.5, TFloatFormat::ffFixed, 3, 2), "0,50");
    EXPECT_EQ(FloatToStr(1.5e-7), "1,5E-7");
    EXPECT_DOUBLE_EQ(sysutils::StrToFloat("2,5"), 2.5);
    EXPECT_THROW(sysutils::StrToFloat("2.5"), sysutils::EConvertError);
}

TEST(FloatToStrF, ExponentFormatShowsSignAndPrecision) {
    sysutils::ScopedDecimalSeparator point('.');
    EXPECT_EQ(FloatToStrF(1234.5, TFloatFormat::ffExponent, 4, 2), "1.235E+03");
    EXPECT_EQ(FloatToStrF(0.00012, TFloatFormat::ffExponent, 2, 0), "1.2E-4");
}

TEST(FloatToStr, NonFiniteValuesHaveWords) {
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::quiet_NaN()), "NAN");
}

struct ReadCase {
    const char* name;
    std::string text;
    double value;
};

class StrToFloatAccepts : public ::testing::TestWithParam<ReadCase> {};

TEST_P(StrToFloatAccepts, ReadsTheNumber) {
    sysutils::ScopedDecimalSeparator point('.');
    EXPECT_DOUBLE_EQ(sysutils::StrToFloat(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, StrToFloatAccepts,
                         ::testing::Values(ReadCase{"Plain", "1000", 1000.0}, ReadCase{"Decimals", "0.05", 0.05},
                                           ReadCase{"Blanks", "  -2.5 ", -2.5}, ReadCase{"Exponent", "1E3", 1000.0},
                                           ReadCase{"PlusSign", "+7", 7.0}, ReadCase{"TrailingPoint", "3.", 3.0}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(StrToFloat, RefusesWhatIsNotANumberWithTheClassLibraryText) {
    sysutils::ScopedDecimalSeparator point('.');
    for (const std::string text :
         {"", "abc", "12abc", "1e", "--1", "1.2.3", "inf", "nan", "1 2", "NaN", "-inf", "1e999", "0x1p3"}) {
        try {
            sysutils::StrToFloat(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const sysutils::EConvertError& error) {
            EXPECT_EQ(error.Message, "'" + text + "' is not a valid floating point value");
        }
    }
}

TEST(IntToStr, WritesDecimalDigits) {
    EXPECT_EQ(sysutils::IntToStr(-2147483648LL), "-2147483648");
    EXPECT_EQ(sysutils::IntToStr(0), "0");
}

}  // namespace
