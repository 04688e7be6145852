#include <gtest/gtest.h>

#include <utility>

#include "cli_test_util.h"

namespace velmar::test {
namespace {

// Paths come in UTF-8 on every system (on Windows main() takes the UTF-16 command line): names
// that are not ASCII are made, opened, written in place and copied.
TEST(CliSample, WritesTheSampleAndNamesThatAreNotAsciiOpenAndSave)
{
    TempDir dir;
    const std::string draft = pathToUtf8(dir.path()) + "/\xC3\x89" + "bauche.nes";
    const std::string level = pathToUtf8(dir.path()) + "/\xE9\x96\xA2\xE5\x8D\xA1.nes";
    ASSERT_EQ(cli({"sample", draft}).code, 0);
    EXPECT_TRUE(sameBytes(readFile(pathFromUtf8(draft)), sampleFileText()));
    const CliRun noFolder = cli({"sample", dir.file("no/such/folder.nes").string()});
    EXPECT_EQ(noFolder.code, 1);
    EXPECT_TRUE(noFolder.err.starts_with("Unknown I/O error!\n")) << noFolder.err;
    const CliRun moved = cli({"set-start", draft, "c:000101", "10", "90"});
    ASSERT_EQ(moved.code, 0) << moved.err;
    ASSERT_EQ(cli({"roundtrip", draft, level}).code, 0);
    EXPECT_TRUE(sameBytes(readFile(pathFromUtf8(level)), readFile(pathFromUtf8(draft))));
    EXPECT_NE(readFile(pathFromUtf8(draft)), sampleFileText()) << "the start moved";
}

// The identity above would also hold for a plain copy. A scene switch stores the scene, which
// puts its enemies in order: two swapped enemies come back in their place, only in that scene.
TEST(CliRoundtrip, StoresTheScenesItVisitsAndRefusesOnesWhoseTablesLieInAnothers)
{
    const SceneRecord s = sampleScene("c:000101");
    ASSERT_LT(s.enemies.at(0).b, s.enemies.at(1).b);
    std::string shuffled = sampleFileText();
    for (const RomOffset table : {s.enemyBAddress, s.enemyXYAddress, s.enemyIdAddress})
        std::swap(shuffled[static_cast<std::size_t>(16 + table)], shuffled[static_cast<std::size_t>(16 + table + 1)]);
    TempDir dir;
    writeFile(dir.file("shuffled.nes"), shuffled);
    for (const std::string key : {"c:000000", "c:000101"}) {
        ASSERT_EQ(cli({"roundtrip", dir.file("shuffled.nes").string(), dir.file("out.nes").string(), key}).code, 0);
        EXPECT_TRUE(sameBytes(readFile(dir.file("out.nes")), key == "c:000000" ? shuffled : sampleFileText())) << key;
    }

    // An enemy table of scene $29 pointed into scene 1's: storing scene 1 would rewrite $29's
    // enemies (the core refuses either scene), so no output is written.
    std::filesystem::remove(dir.file("out.nes"));
    std::string image = sampleFileText();
    image[16 + 0x8813] = '\x9C';  // high byte of scene $29's enemy B pointer
    writeFile(dir.file("spoiled.nes"), image);
    const CliRun run = cli({"roundtrip", dir.file("spoiled.nes").string(), dir.file("out.nes").string(), "c:000101"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("table of scene $29"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.nes")));
    EXPECT_TRUE(sameBytes(readFile(dir.file("spoiled.nes")), image));
}

}  // namespace
}  // namespace velmar::test
