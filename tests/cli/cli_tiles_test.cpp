#include <gtest/gtest.h>

#include <algorithm>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "cli_test_util.h"
#include "gfx/pattern_tiles.h"
#include "scene/scene_state.h"

namespace velmar::test {
namespace {

PixelArray bankOf(const std::filesystem::path& rom, int bank)
{
    RomImage image;
    EXPECT_TRUE(parseRomFile(bytesOf(readFile(rom)), image).ok());
    PixelArray pixels;
    EXPECT_TRUE(loadChrBank(image.romData, pixels, bank).ok());
    return pixels;
}

TEST(CliTiles, ImportReadsBackWhatTilesWrote)
{
    CliFixtureDir dir;
    const std::vector<std::string> palette = {"--palette", "c:000000", "1"};
    auto run = [&](const char* command, const char* bank = "4") {
        std::vector<std::string> args = {command, dir.romArg(), bank, dir.arg("bank.png")};
        args.insert(args.end(), palette.begin(), palette.end());
        return cli(args);
    };
    ASSERT_EQ(run("tiles").code, 0);
    const CliRun same = run("import-tiles");
    EXPECT_EQ(same.code, 0) << same.err;
    EXPECT_TRUE(sameBytes(readFile(dir.rom()), sampleFileText())) << "nothing changed";

    // Bank 5's sheet read into bank 4: bank 4 holds bank 5's tiles.
    ASSERT_NE(bankOf(dir.rom(), 4), bankOf(dir.rom(), 5));
    ASSERT_EQ(run("tiles", "5").code, 0);
    ASSERT_EQ(run("import-tiles").code, 0);
    EXPECT_EQ(bankOf(dir.rom(), 4), bankOf(dir.rom(), 5));

    // What is not a picture of a sane size is refused, without waiting on a FIFO or allocating
    // what a header claims, and the image stays as it was.
    const std::string edited = readFile(dir.rom());
    std::vector<const char*> names = {"tall.png"};
    writeFile(dir.file("tall.png"), pngText(Bitmap(8, 40000, 0)));
#ifndef _WIN32
    ASSERT_EQ(::mkfifo(dir.arg("fifo.png").c_str(), 0600), 0);
    names.push_back("fifo.png");
#endif
    for (const char* name : names) {
        std::vector<std::string> args = {"import-tiles", dir.romArg(), "4", dir.arg(name)};
        args.insert(args.end(), palette.begin(), palette.end());
        const CliRun refused = cli(args);
        EXPECT_NE(refused.code, 0) << name;
        EXPECT_NE(refused.err.find(name), std::string::npos) << refused.err;
    }
    EXPECT_TRUE(sameBytes(readFile(dir.rom()), edited));
}

// The background editor's table edits from a shell: one quarter each, kept for the scene's
// tileset; a quarter or palette out of range is refused and the file stays as it was.
TEST(CliTiles, SubtileMetatileAndAttributeCommands)
{
    CliFixtureDir dir;
    const std::string rom = dir.romArg();
    const std::string key = "c:000101";
    const auto tables = [&] {
        RomImage image;
        EXPECT_TRUE(parseRomFile(bytesOf(readFile(dir.rom())), image).ok());
        SceneState scene;
        EXPECT_TRUE(decodeScene(image.romData, *parseSceneKey(key), scene).ok());
        return scene.metatiles;
    };
    MetatileTables want = tables();
    const int palette = (want.metatileDefs[9][0] >> 4 & 3) ^ 1;  // bottom left: bits 4-5
    for (const std::vector<std::string>& args : {std::vector<std::string>{"set-subtile", rom, key, "5", "1", "A7"},
                                                 {"set-metatile", rom, key, "9", "2", "3C"},
                                                 {"set-attribute", rom, key, "9", "1", std::to_string(palette)}}) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.code, 0) << args[0] << ": " << run.err;
    }
    want.subtileDefs[5][1] = 0xA7;
    want.metatileDefs[9][3] = 0x3C;
    want.metatileDefs[9][0] = static_cast<std::uint8_t>((want.metatileDefs[9][0] & 0xCF) | palette << 4);
    EXPECT_EQ(tables(), want);  // read back from the file

    const std::string edited = readFile(dir.rom());
    const CliRun quarter = cli({"set-metatile", rom, key, "9", "4", "00"});
    EXPECT_EQ(std::tuple(quarter.code, quarter.err), std::tuple(1, std::string("A quarter is 0 to 3.\n")));
    EXPECT_TRUE(sameBytes(readFile(dir.rom()), edited));
}

}  // namespace
}  // namespace velmar::test
