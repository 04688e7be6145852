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
        {"sample", out, "extra"},
        {"resize-map", rom, "c:000000"},
        {"scene", rom, "act01"},
        {"scene", rom, "c:001600"},                    // stage 0x16: there are 22 stages
        {"scene", rom, "c:000030"},                    // scene 0x30: there are 48 scene slots
        {"roundtrip", rom, out, "c:000000", "act01"},  // a bad key after a good one
        {"resize-enemies", rom, "c:000030", "2"},
        {"resize-map", rom, "c:000000", "2", "--right"},
        {"resize-items", rom, "c:000000", "2", "--left"},  // --left is resize-map's alone
        {"sheet", rom, "c:000000", out, "--actors"},
        {"texts", rom, "--table"},
        {"set-text", rom, "113", "x"},
        {"set-text", rom, "-1", "x"},
        {"set-text", rom, "99999999999", "x"},  // too large to convert
        // Numbers are read whole: not "0 from the leading digits".
        {"resize-map", rom, "c:000101", "0x5"},
        {"resize-map", rom, "c:000101", ""},
        {"tiles", rom, "1G", out},
        {"tiles", rom, "20", out},  // there are 0x20 pattern banks
        {"tiles", rom, "4", out, "--palette", "c:000000", "8"},
        {"tiles", rom, "4", out, "--palette", "c:000000"},
        {"frames", rom, "2", out},  // frame sets 0 and 1 only
        {"frames", rom, "", out},
        {"frames", rom, "1", out, "--palette", "c:000000", "1"},  // --palette takes the scene alone here
        {"frames", rom, "1", out, "--palette"},
        {"frames", rom, "1", out, "--palette", "c:003000"},
        {"patch", rom, rom, out},  // a patch is named .ips or .bps
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

}  // namespace
}  // namespace velmar::test
