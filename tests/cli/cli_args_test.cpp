#include <gtest/gtest.h>

#include "cli_test_util.h"

namespace velmar::test {
namespace {

// Wrong command lines never touch a file: the image stays as it was and no output appears.
TEST(CliArgs, UsageErrorsExitTwoAndTouchNothing)
{
    CliFixtureDir dir;
    const std::string rom = dir.romArg();
    const std::string out = dir.arg("out.nes");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"sample"},
        {"sample", out, "extra"},
        {"scenes"},
        {"scene", rom},
        {"scene", rom, "c:000000", "c:000101"},
        {"scene", rom, "c:00000"},       // five digits
        {"scene", rom, "c:0000000"},     // seven digits
        {"scene", rom, "000000"},        // no "c:"
        {"scene", rom, "act01"},         // an act node
        {"scene", rom, "c:00zz00"},
        {"scene", rom, "c:001600"},      // stage 0x16: there are 22 stages
        {"scene", rom, "c:000030"},      // scene 0x30: there are 48 scene slots
        {"roundtrip", rom},
        {"roundtrip", rom, out, "c:000000", "act01"},
        {"resize-map", rom, "c:000000"},
        {"resize-map", rom, "c:000000", "2", "--right"},
        {"resize-map", rom, "c:00FF00", "2"},
        {"resize-items", rom, "c:000000", "2", "--left"},
        {"resize-enemies", rom, "c:000030", "2"},
        {"texts", rom, "--table"},
        {"texts", rom, "--left"},
        {"set-text", rom, "3"},
        {"set-text", rom, "113", "x"},
        {"set-text", rom, "-1", "x"},
        {"set-text", rom, "0x1", "x"},
        {"set-text", rom, "", "x"},
        {"set-text", rom, "1000", "x"},
    };
    for (const auto& args : cases) {
        std::string line;
        for (const auto& a : args)
            line += a + " ";
        SCOPED_TRACE(line);
        const CliRun run = cli(args);
        EXPECT_EQ(run.code, 2);
        EXPECT_NE(run.err.find("usage:"), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
        EXPECT_TRUE(sameBytes(readFile(dir.rom()), sampleFileText()));
        EXPECT_FALSE(std::filesystem::exists(dir.file("out.nes")));
    }
}

// The edges of what is accepted: the last stage and scene slot, a scene slot the area tree does
// not list, options anywhere on the line, "--" before a text that starts with dashes.
TEST(CliArgs, AcceptedForms)
{
    CliFixtureDir dir;
    const std::string rom = dir.romArg();
    const std::vector<std::vector<std::string>> cases = {
        {"scene", rom, "c:05152F"},
        {"scene", rom, "c:001500"},
        {"scene", rom, "c:ff152f"},  // lower case; the act digits are not checked
        {"resize-map", "--left", rom, "c:000000", "0"},
        {"texts", "--table", dir.arg("missing.dat"), rom},
    };
    const std::vector<int> codes = {0, 0, 0, 0, 1};
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const CliRun run = cli(cases[i]);
        EXPECT_EQ(run.code, codes[i]) << run.err;
        EXPECT_EQ(run.err.find("usage:"), std::string::npos) << run.err;
    }
}

TEST(CliArgs, HelpGoesToStdout)
{
    const CliRun run = cli({"--help"});
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(run.err.empty());
    for (const char* command : {"sample OUT", "scenes ROM", "scene ROM KEY", "roundtrip ROM OUT",
                                "resize-map ROM KEY LENGTH [--left]", "resize-items", "resize-enemies",
                                "texts ROM [--table FILE]", "set-text ROM N TEXT"})
        EXPECT_NE(run.out.find(command), std::string::npos) << command;
}

}  // namespace
}  // namespace velmar::test
