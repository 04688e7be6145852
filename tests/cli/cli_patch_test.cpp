#include <gtest/gtest.h>

#include "cli_test_util.h"

namespace velmar::test {
namespace {

namespace fs = std::filesystem;

// An edited copy of the sample: a few bytes changed and some added at the end.
std::string editedSample()
{
    std::string edited = sampleFileText();
    for (std::size_t at : {std::size_t{0x10}, std::size_t{0x2D30}, edited.size() - 1})
        edited[at] = static_cast<char>(edited[at] ^ 0x5A);
    return edited + std::string(100, '\x42');
}

TEST(CliPatch, PatchThenApplyGivesTheEditedFileAndRefusalsWriteNothing)
{
    CliFixtureDir dir;
    writeFile(dir.file("edited.nes"), editedSample());
    for (const std::string name : {"hack.ips", "hack.BPS"}) {
        SCOPED_TRACE(name);
        const CliRun made = cli({"patch", dir.romArg(), dir.arg("edited.nes"), dir.arg(name)});
        ASSERT_EQ(made.code, 0) << made.err;
        const CliRun applied = cli({"apply", dir.arg(name), dir.romArg(), dir.arg("out.nes")});
        ASSERT_EQ(applied.code, 0) << applied.err;
        EXPECT_TRUE(made.out.empty() && applied.out.empty() && made.err.empty() && applied.err.empty());
        EXPECT_TRUE(sameBytes(readFile(dir.file("out.nes")), editedSample()));
    }

    // The BPS patch of the sample, applied to the edited file: made for another image, and nothing
    // is written. (The ways a patch is broken are the core's tests.)
    fs::remove(dir.file("out.nes"));
    const CliRun other = cli({"apply", dir.arg("hack.BPS"), dir.arg("edited.nes"), dir.arg("out.nes")});
    EXPECT_EQ(other.code, 1);
    EXPECT_NE(other.err.find("hack.BPS: The patch was made for another image"), std::string::npos) << other.err;
    EXPECT_FALSE(fs::exists(dir.file("out.nes")));
}

}  // namespace
}  // namespace velmar::test
