// Reading numbers from input files: the longest decimal prefix, the white space it
// skips, correct rounding into a float, and the ID range test.
#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "engine/NumberScanner.h"
#include "support/TestFiles.h"

namespace {

using engine::NumberScanner;
using engine::ScanResult;

struct Read {
    ScanResult result;
    float value = 0.0f;
};

struct ScanCase {
    std::string name;
    std::string text;
    std::vector<Read> reads;
};

void PrintTo(const ScanCase& c, std::ostream* out) { *out << c.name; }

constexpr float inf = std::numeric_limits<float>::infinity();
const Read notANumber{ScanResult::NotANumber};
const Read endOfFile{ScanResult::EndOfFile};
Read value(float v) { return {ScanResult::Value, v}; }

std::vector<ScanCase> scanCases() {
    const std::string manyZeros(300, '0');
    return {
        {"WholeNumberEndingTheFile", "12", {value(12), endOfFile}},
        {"EveryKindOfWhiteSpaceIsSkipped", " \t\r\n\v\f3.5 \r\n", {value(3.5f), endOfFile}},
        {"ValuesOnSeveralLines", "1 2\n-3\t4e1\r\n", {value(1), value(2), value(-3), value(40), endOfFile}},
        {"EmptyFile", "", {endOfFile}},
        {"OnlyWhiteSpace", "  \n\t\r\n", {endOfFile}},
        {"LettersAfterDigitsStayForTheNextRead", "12abc", {value(12), notANumber, notANumber}},
        {"DecimalCommaEndsTheNumber", "2,5", {value(2), notANumber}},
        {"IncompleteExponentIsLeft", "1e", {value(1), notANumber}},
        {"IncompleteSignedExponentIsLeft", "1e+ 4", {value(1), notANumber}},
        {"ExponentWithSign", "1E-2 2.5e+3", {value(0.01f), value(2500), endOfFile}},
        {"ExponentStopsAtTheFirstNonDigit", "1e5x", {value(100000), notANumber}},
        {"PointWithoutFractionDigits", "5. 5.e2", {value(5), value(500), endOfFile}},
        {"FractionWithoutIntegerDigits", ".5 -.25 +3", {value(0.5f), value(-0.25f), value(3), endOfFile}},
        {"PointAloneIsNoNumber", ". 1", {notANumber}},
        {"SignAloneIsNoNumber", "- 1", {notANumber}},
        {"SignAndPointAloneAreNoNumber", "+.e1", {notANumber}},
        {"InfinityAndNanAreNoNumbers", "inf nan", {notANumber}},
        {"HexadecimalIsReadAsDecimalZero", "0x10", {value(0), notANumber}},
        {"NegativeZeroKeepsItsSign", "-0", {value(-0.0f), endOfFile}},
        {"RoundsToNearestFloat", "0.1 16777217 16777219", {value(0.1f), value(16777216), value(16777220)}},
        {"LargestFloat", "3.40282347e38", {value(std::numeric_limits<float>::max())}},
        {"SmallestSubnormal", "1.4e-45", {value(std::numeric_limits<float>::denorm_min())}},
        {"TooLargeGivesInfinity", "1e39 -1e39 1e99999999999999999999", {value(inf), value(-inf), value(inf)}},
        {"TooSmallGivesZero", "1e-50 1e-99999999999999999999", {value(0), value(0)}},
        {"DigitsFarBeyondTheHalfwayPointStillCount",
         "0.16777217" + manyZeros + "1e8 16777217." + manyZeros,
         {value(16777218), value(16777216)}},
        {"LeadingZerosDoNotCount",
         "000000000000000000000000000000000001.5 0." + manyZeros + "1e301",
         {value(1.5f), value(1), endOfFile}},
        {"ManyIntegerDigits", "1" + manyZeros, {value(inf)}},
    };
}

class Scanning : public ::testing::TestWithParam<std::tuple<ScanCase, std::size_t>> {};

TEST_P(Scanning, TakesTheLongestDecimalPrefix) {
    const auto& [c, chunkSize] = GetParam();
    testing_support::TemporaryFolder folder;
    NumberScanner scanner(folder.write("values.txt", c.text), chunkSize);
    ASSERT_TRUE(scanner.isOpen());
    for (std::size_t k = 0; k < c.reads.size(); ++k) {
        const float untouched = 123456.0f;
        float read = untouched;
        ASSERT_EQ(scanner.read(read), c.reads[k].result) << "read " << k;
        const float expected = c.reads[k].result == ScanResult::Value ? c.reads[k].value : untouched;
        EXPECT_EQ(std::bit_cast<std::uint32_t>(read), std::bit_cast<std::uint32_t>(expected))
            << "read " << k << ": " << read << " instead of " << expected;
    }
}

// Chunks of 1 to 3 bytes put every look-ahead across a refill of the buffer.
INSTANTIATE_TEST_SUITE_P(NumberScanner, Scanning,
                         ::testing::Combine(::testing::ValuesIn(scanCases()),
                                            ::testing::Values(std::size_t{1}, std::size_t{2}, std::size_t{3},
                                                              std::size_t{65536})),
                         [](const auto& testCase) {
                             return std::get<0>(testCase.param).name + "_chunk" +
                                    std::to_string(std::get<1>(testCase.param));
                         });

TEST(NumberScanner, ReadsAPointWhateverTheLocale) {
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr && std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") == nullptr)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    testing_support::TemporaryFolder folder;
    NumberScanner scanner(folder.write("values.txt", "1.5 2,5"));
    float read = 0.0f;
    EXPECT_EQ(scanner.read(read), ScanResult::Value);
    EXPECT_EQ(read, 1.5f);
    EXPECT_EQ(scanner.read(read), ScanResult::Value);
    EXPECT_EQ(read, 2.0f);
    std::setlocale(LC_NUMERIC, "C");
}

TEST(NumberScanner, AFileThatCannotBeOpenedReadsAsEnded) {
    testing_support::TemporaryFolder folder;
    NumberScanner scanner(folder.pathOf("missing.txt"));
    EXPECT_FALSE(scanner.isOpen());
    float read = 7.0f;
    EXPECT_EQ(scanner.read(read), ScanResult::EndOfFile);
    EXPECT_EQ(read, 7.0f);
}

TEST(NumberScanner, StreamsAFileMuchLargerThanItsBuffer) {
    std::string text;
    for (int k = 0; k < 20000; ++k) text += std::to_string(k) + (k % 7 == 0 ? "\r\n" : "\t");
    testing_support::TemporaryFolder folder;
    NumberScanner scanner(folder.write("values.txt", text), 16);
    float read = 0.0f;
    for (int k = 0; k < 20000; ++k) {
        ASSERT_EQ(scanner.read(read), ScanResult::Value) << k;
        ASSERT_EQ(read, static_cast<float>(k));
    }
    EXPECT_EQ(scanner.read(read), ScanResult::EndOfFile);
}

struct IdCase {
    const char* name;
    float value;
    bool integral;
    std::int32_t truncated;
};

void PrintTo(const IdCase& c, std::ostream* out) { *out << c.name; }

class IdRange : public ::testing::TestWithParam<IdCase> {};

TEST_P(IdRange, OnlyWholeNumbersWithinThe32BitRangeAreIds) {
    const IdCase& c = GetParam();
    std::int32_t truncated = -77;
    EXPECT_EQ(engine::integralInt32(c.value, truncated), c.integral);
    EXPECT_EQ(truncated, c.integral ? c.truncated : -77);
}

INSTANTIATE_TEST_SUITE_P(NumberScanner, IdRange,
                         ::testing::Values(IdCase{"Whole", 7.0f, true, 7}, IdCase{"Fraction", 7.5f, false, 0},
                                           IdCase{"NegativeFraction", -0.5f, false, 0},
                                           IdCase{"NegativeZero", -0.0f, true, 0},
                                           IdCase{"Lowest", -2147483648.0f, true, -2147483647 - 1},
                                           IdCase{"LargestBelowTwoTo31", 2147483520.0f, true, 2147483520},
                                           IdCase{"TwoTo31", 2147483648.0f, false, 0},
                                           IdCase{"BelowTheRange", -2147483904.0f, false, 0},
                                           IdCase{"Huge", 1e10f, false, 0}, IdCase{"Infinity", inf, false, 0},
                                           IdCase{"MinusInfinity", -inf, false, 0}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

}  // namespace
