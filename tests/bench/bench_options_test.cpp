// The benchmarks' option parser on a command line of every kind of value they take: good
// values land in their fields, --help asks for the usage, and every other word, a missing
// value or a value that is no valid number is refused with what was wrong.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "BenchOptions.h"

namespace {

struct Fields {
    std::vector<int> sizes{250, 500};
    std::vector<int> bands{1000};
    std::int32_t sample = 4;
    unsigned threads = 0;
    std::uint64_t seed = 1;
    float probability = 0.5f;
    std::string path = "automatic";
    std::string folder = "/tmp/bench";
    bool operator==(const Fields&) const = default;
};

bench::CommandLine commandLineOf(Fields& f) {
    using bench::wholeNumber;
    return {"bench_test",
            "Tests the parser.\n",
            {{"--sizes", "N,N,...", bench::commaText(f.sizes), "sizes",
              [&f](const std::string& v) { f.sizes = bench::wholeNumbers(v, 1); }},
             {"--bands", "N,N,...", bench::commaText(f.bands), "bands, \"\" for none",
              [&f](const std::string& v) { f.bands = bench::wholeNumbersOrNone(v, 1); }},
             {"--sample", "N", std::to_string(f.sample), "sample",
              [&f](const std::string& v) { f.sample = wholeNumber<std::int32_t>(v, 1); }},
             {"--threads", "N", std::to_string(f.threads), "threads",
              [&f](const std::string& v) { f.threads = wholeNumber<unsigned>(v, 0); }},
             {"--seed", "N", std::to_string(f.seed), "seed",
              [&f](const std::string& v) { f.seed = wholeNumber<std::uint64_t>(v, 0); }},
             {"--probability", "P", "0.5", "probability",
              [&f](const std::string& v) { f.probability = bench::realNumber(v, 0.0f, 1.0f); }},
             {"--path", "automatic|reference", f.path, "path",
              [&f](const std::string& v) { f.path = bench::oneOf(v, {"automatic", "reference"}); }},
             {"--folder", "DIR", f.folder, "folder", [&f](const std::string& v) { f.folder = bench::folderPath(v); }}}};
}

enum class Outcome { Run, Help, Refused };

struct Case {
    const char* name;
    std::vector<std::string> arguments;
    Outcome outcome;
    std::string error;  // what the refusal says
    Fields fields;      // what a run has
};

Fields with(void (*change)(Fields&)) {
    Fields f;
    change(f);
    return f;
}

class BenchOptions : public ::testing::TestWithParam<Case> {};

TEST_P(BenchOptions, SetsTheFieldsOrSaysWhatWasWrong) {
    const Case& c = GetParam();
    Fields f;
    const bench::ParsedArguments parsed = bench::parseArguments(commandLineOf(f), c.arguments);
    EXPECT_EQ(parsed.help, c.outcome == Outcome::Help);
    EXPECT_EQ(parsed.error, c.error);
    if (c.outcome == Outcome::Run) {
        EXPECT_TRUE(f == c.fields);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, BenchOptions,
    ::testing::Values(
        Case{"Nothing", {}, Outcome::Run, "", Fields{}},
        Case{"EveryValue",
             {"--sizes", "3,40", "--sample", "7", "--threads", "16", "--seed", "18446744073709551615", "--probability",
              "0.25", "--path", "reference", "--folder", "/data/it's here"},
             Outcome::Run, "", with([](Fields& f) {
                 f.sizes = {3, 40};
                 f.sample = 7;
                 f.threads = 16;
                 f.seed = 18446744073709551615u;
                 f.probability = 0.25f;
                 f.path = "reference";
                 f.folder = "/data/it's here";
             })},
        Case{"EmptyOptionalList", {"--bands", ""}, Outcome::Run, "", with([](Fields& f) { f.bands.clear(); })},
        Case{"OptionalList", {"--bands", "7,8"}, Outcome::Run, "", with([](Fields& f) { f.bands = {7, 8}; })},
        Case{"LastValueWins", {"--sample", "2", "--sample", "9"}, Outcome::Run, "",
             with([](Fields& f) { f.sample = 9; })},
        Case{"Help", {"--help"}, Outcome::Help, "", {}},
        Case{"ShortHelp", {"-h"}, Outcome::Help, "", {}},
        Case{"HelpAfterOptions", {"--sample", "3", "--help"}, Outcome::Help, "", {}},
        Case{"UnknownOption", {"--samples", "3"}, Outcome::Refused, "unknown option --samples", {}},
        Case{"OptionWithAnEqualsSign", {"--sample=3"}, Outcome::Refused, "unknown option --sample=3", {}},
        Case{"MissingValue", {"--sizes", "1", "--sample"}, Outcome::Refused, "missing value after --sample", {}},
        Case{"StrayWord", {"run"}, Outcome::Refused, "unexpected argument \"run\"", {}},
        Case{"StrayWordAfterAValue", {"--sample", "3", "4"}, Outcome::Refused, "unexpected argument \"4\"", {}},
        Case{"NotANumber", {"--sample", "x"}, Outcome::Refused, "--sample: \"x\" is not a whole number", {}},
        Case{"TrailingJunk", {"--sample", "5x"}, Outcome::Refused, "--sample: \"5x\" is not a whole number", {}},
        Case{"Fraction", {"--sample", "2.5"}, Outcome::Refused, "--sample: \"2.5\" is not a whole number", {}},
        Case{"EmptyNumber", {"--sample", ""}, Outcome::Refused, "--sample: \"\" is not a whole number", {}},
        Case{"BelowTheLeast", {"--sample", "0"}, Outcome::Refused, "--sample: \"0\" is less than 1", {}},
        Case{"NegativeUnsigned", {"--threads", "-1"}, Outcome::Refused, "--threads: \"-1\" is less than 0", {}},
        Case{"TooLarge", {"--seed", "18446744073709551616"}, Outcome::Refused,
             "--seed: \"18446744073709551616\" is too large", {}},
        Case{"TooLargeForInt", {"--sample", "2147483648"}, Outcome::Refused, "--sample: \"2147483648\" is too large",
             {}},
        Case{"EmptyList", {"--sizes", ""}, Outcome::Refused, "--sizes: the list is empty", {}},
        Case{"EmptyListAfterAGoodOne", {"--sizes", "3", "--sizes", ""}, Outcome::Refused,
             "--sizes: the list is empty", {}},
        Case{"EmptyItem", {"--sizes", "1,,2"}, Outcome::Refused, "--sizes: \"1,,2\" has an empty item", {}},
        Case{"EmptyItemInAnOptionalList", {"--bands", ","}, Outcome::Refused, "--bands: \",\" has an empty item",
             {}},
        Case{"TrailingComma", {"--sizes", "1,"}, Outcome::Refused, "--sizes: \"1,\" has an empty item", {}},
        Case{"BadItem", {"--sizes", "1,2x"}, Outcome::Refused, "--sizes: \"2x\" is not a whole number", {}},
        Case{"NegativeItem", {"--sizes", "-5"}, Outcome::Refused, "--sizes: \"-5\" is less than 1", {}},
        Case{"RealOutOfRange", {"--probability", "1.5"}, Outcome::Refused,
             "--probability: \"1.5\" is not from 0 to 1", {}},
        Case{"RealNotFinite", {"--probability", "nan"}, Outcome::Refused,
             "--probability: \"nan\" is not from 0 to 1", {}},
        Case{"RealInfinite", {"--probability", "inf"}, Outcome::Refused,
             "--probability: \"inf\" is not from 0 to 1", {}},
        Case{"RealMinusInfinite", {"--probability", "-inf"}, Outcome::Refused,
             "--probability: \"-inf\" is not from 0 to 1", {}},
        Case{"RealBeyondTheDoubleRange", {"--probability", "1e999"}, Outcome::Refused,
             "--probability: \"1e999\" is not from 0 to 1", {}},
        Case{"RealHexadecimal", {"--probability", "0x1p3"}, Outcome::Refused,
             "--probability: \"0x1p3\" is not a number", {}},
        Case{"RealEmpty", {"--probability", ""}, Outcome::Refused, "--probability: \"\" is not a number", {}},
        Case{"RealTrailingJunk", {"--probability", "0.5x"}, Outcome::Refused,
             "--probability: \"0.5x\" is not a number", {}},
        Case{"RealWithAComma", {"--probability", "0,5"}, Outcome::Refused,
             "--probability: \"0,5\" is not a number", {}},
        Case{"NotAChoice", {"--path", "fast"}, Outcome::Refused,
             "--path: \"fast\" is not one of automatic, reference", {}},
        Case{"EmptyFolder", {"--folder", ""}, Outcome::Refused, "--folder: the path is empty", {}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(BenchOptionsUsage, NamesEveryOptionWithItsValueAndDefault) {
    Fields f;
    const std::string usage = bench::usageOf(commandLineOf(f));
    EXPECT_EQ(usage,
              "usage: bench_test [OPTION VALUE]...\n"
              "Tests the parser.\n"
              "\n"
              "Options:\n"
              "  --sizes N,N,...             sizes (default 250,500)\n"
              "  --bands N,N,...             bands, \"\" for none (default 1000)\n"
              "  --sample N                  sample (default 4)\n"
              "  --threads N                 threads (default 0)\n"
              "  --seed N                    seed (default 1)\n"
              "  --probability P             probability (default 0.5)\n"
              "  --path automatic|reference  path (default automatic)\n"
              "  --folder DIR                folder (default /tmp/bench)\n"
              "  --help                      print this text and run nothing\n");
}

TEST(BenchOptionsUsage, ARowTooWideForOneHundredColumnsShowsItsDefaultOnALineOfItsOwn) {
    std::string folder = "/tmp/" + std::string(60, 'f');
    const bench::CommandLine commandLine{
        "bench_test", "", {{"--folder", "DIR", folder, "where the landscapes are written", [](const std::string&) {}}}};
    EXPECT_EQ(bench::usageOf(commandLine),
              "usage: bench_test [OPTION VALUE]...\n"
              "\n"
              "Options:\n"
              "  --folder DIR  where the landscapes are written\n"
              "                (default " + folder + ")\n"
              "  --help        print this text and run nothing\n");
}

}  // namespace
