#include <gtest/gtest.h>

#include <tuple>

#include "base/hex.h"
#include "cli_test_util.h"

// Actors one at a time, and a shrink of the map that would leave actors past its end.
namespace velmar::test {
namespace {

// Stage 1-1 of the sample: nine screens (columns 00 to 8F), eight enemies.
const std::string kKey = "c:000000";

TEST(CliActors, AddAndDeleteOneAtATime)
{
    CliFixtureDir dir;
    const std::string rom = dir.romArg();
    const Json before = sceneJsonOf(rom, kKey);

    // The new enemy's number is where the list, kept in order of b, puts it.
    const CliRun add = cli({"add-enemy", rom, kKey, "21", "64", "5"});
    ASSERT_EQ(add.code, 0) << add.err;
    const Json added = sceneJsonOf(rom, kKey);
    ASSERT_EQ(added.at("enemies").size(), before.at("enemies").size() + 1);
    std::size_t at = 0;
    while (at < added.at("enemies").size()
           && added.at("enemies").at(at) != Json({{"b", 0x21}, {"xy", 0x64}, {"id", 5}}))
        ++at;
    ASSERT_LT(at, added.at("enemies").size());
    EXPECT_EQ(add.out, "Enemy " + hexPad(static_cast<std::int64_t>(at), 2) + " added.\n");

    const CliRun remove = cli({"delete-enemy", rom, kKey, hexPad(static_cast<std::int64_t>(at), 2)});
    ASSERT_EQ(remove.code, 0) << remove.err;
    EXPECT_EQ(remove.out, "Enemy " + hexPad(static_cast<std::int64_t>(at), 2) + " deleted.\n");
    EXPECT_EQ(sceneJsonOf(rom, kKey), before);

    ASSERT_EQ(cli({"add-item", rom, kKey, "8F", "40", "2"}).code, 0) << "the last column";
    EXPECT_EQ(sceneJsonOf(rom, kKey).at("items").size(), before.at("items").size() + 1);

    // Refusals leave the file as it was.
    const std::string edited = readFile(dir.rom());
    const struct {
        std::vector<std::string> args;
        std::string err;
    } refused[] = {
        {{"add-item", rom, kKey, "90", "40", "2"},
         "The item would stand in column 90 (X 90), past the map's end: a map of 9 screens ends with column 8F.\n"},
        {{"add-item", rom, kKey, "10", "45", "2"}, "An item's Y is a row: 00, 10 .. F0.\n"},
        {{"delete-item", rom, kKey, "40"}, "The scene has no item 40.\n"},
    };
    for (const auto& r : refused) {
        const CliRun run = cli(r.args);
        EXPECT_EQ(std::tuple(run.code, run.err), std::tuple(1, r.err)) << r.args[0];
    }
    EXPECT_TRUE(sameBytes(readFile(dir.rom()), edited));
}

TEST(CliActors, AShrinkPastActorsIsRefusedUnlessToldWhatToDoWithThem)
{
    CliFixtureDir dir;
    const std::string rom = dir.romArg();
    const Json before = sceneJsonOf(rom, kKey);

    const CliRun refused = cli({"resize-map", rom, kKey, "02"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("would lie past the new end of the map:\nEnemy "), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("--past-end drop"), std::string::npos) << refused.err;
    EXPECT_TRUE(sameBytes(readFile(dir.rom()), sampleFileText()));
    EXPECT_EQ(cli({"resize-map", rom, kKey, "02", "--past-end", "later"}).code, 2);

    ASSERT_EQ(cli({"resize-map", rom, kKey, "02", "--past-end", "keep"}).code, 0);
    const Json kept = sceneJsonOf(rom, kKey);
    EXPECT_EQ(kept.at("enemies"), before.at("enemies"));

    CliFixtureDir other;
    ASSERT_EQ(cli({"resize-map", other.romArg(), kKey, "02", "--past-end", "drop"}).code, 0);
    const Json dropped = sceneJsonOf(other.romArg(), kKey);
    EXPECT_LT(dropped.at("enemies").size(), before.at("enemies").size());
}

}  // namespace
}  // namespace velmar::test
