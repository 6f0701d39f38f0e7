// The host program's command line: each form it takes, and what it refuses.
#include "gishost/app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

using gishost::app::CommandLine;
using Action = CommandLine::Action;

TEST(CommandLine, TakesEachFormAndRefusesTheRest) {
    const struct Case {
        std::vector<std::string> arguments;
        CommandLine expected;
    } cases[] = {
        {{}, {}},
        {{"--document", "study.gmap"}, {Action::Start, "study.gmap", {}, {}, {}}},
        {{"a.shp", "b.gpkg"}, {Action::Start, {}, {"a.shp", "b.gpkg"}, {}, {}}},
        {{"--install", "/opt/lib.so"}, {Action::Install, {}, {}, "/opt/lib.so", {}}},
        {{"--uninstall", "lib.so"}, {Action::Uninstall, {}, {}, "lib.so", {}}},
        {{"--help"}, {Action::Help, {}, {}, {}, {}}},
        {{"--install"}, {Action::Refused, {}, {}, {}, "--install takes exactly one path"}},
        {{"--install", "a.so", "b.so"}, {Action::Refused, {}, {}, {}, "--install takes exactly one path"}},
        {{"--document", ""}, {Action::Refused, {}, {}, {}, "--document takes exactly one path"}},
        {{"--document", "a.gmap", "b.shp"}, {Action::Refused, {}, {}, {}, "--document takes exactly one path"}},
        {{"a.shp", "--document", "b.gmap"}, {Action::Refused, {}, {}, {}, "unknown option --document"}},
        {{"--verbose"}, {Action::Refused, {}, {}, {}, "unknown option --verbose"}},
        {{"--help", "x"}, {Action::Refused, {}, {}, {}, "--help takes nothing after it"}},
        {{"a.shp", ""}, {Action::Refused, {}, {}, {}, "an empty file name"}},
    };
    for (const Case& test : cases) {
        std::string shown;
        for (const std::string& argument : test.arguments) shown += "[" + argument + "]";
        EXPECT_EQ(gishost::app::parseCommandLine(test.arguments), test.expected) << shown;
    }
}

}  // namespace
