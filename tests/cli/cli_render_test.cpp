#include <gtest/gtest.h>

#include "cli_test_util.h"
#include "editor/document.h"
#include "base/file_writer.h"
#include "gfx/tile_drawing.h"
#include "rom/area_catalogue.h"

namespace velmar::test {
namespace {

Bitmap pngOf(const std::filesystem::path& path)
{
    Bitmap b;
    EXPECT_TRUE(loadBitmapPng(pathToUtf8(path), b).ok()) << path;
    return b;
}

// render draws every map cell as sheet draws its metatile, sheet draws each quarter of a
// metatile in the sub-palette its attribute byte gives, and --actors adds the actors over the
// same map.
TEST(CliRender, TheMapIsTheSheetsMetatilesInTheirPalettes)
{
    CliFixtureDir dir;
    // Scenes of both directions; a longer map is wider than the pictures the program reads back.
    for (const char* key : {"c:000000", "c:030910", "c:010205"}) {
        SCOPED_TRACE(key);
        ASSERT_EQ(cli({"render", dir.romArg(), key, dir.arg("map.png")}).code, 0);
        ASSERT_EQ(cli({"render", dir.romArg(), key, dir.arg("all.png"), "--actors"}).code, 0);
        ASSERT_EQ(cli({"sheet", dir.romArg(), key, dir.arg("sheet.png")}).code, 0);
        const Bitmap map = pngOf(dir.file("map.png")), all = pngOf(dir.file("all.png")),
                     sheet = pngOf(dir.file("sheet.png"));
        Document doc;
        ASSERT_TRUE(doc.openImage(sampleImage(), "sample.nes").ok());
        ASSERT_TRUE(doc.selectScene(*parseSceneKey(key)).ok());
        const SceneState& s = doc.scene();
        ASSERT_EQ(std::pair(map.width(), map.height()), std::pair((s.currentScene.length + 1) * 256, 176));
        ASSERT_EQ(std::pair(sheet.width(), sheet.height()), std::pair(512, 512));

        int wrongCells = 0;
        for (std::size_t i = 0; i < s.currentScene.map.size(); ++i) {
            const int x = static_cast<int>(i / 48) * 256 + static_cast<int>(i % 48 / 6) * 32;
            const int y = static_cast<int>(i % 6) * 32;
            const int m = s.currentScene.map[i];
            for (const auto& [dx, dy] : {std::pair(0, 0), std::pair(31, 15), std::pair(17, 9)})
                wrongCells += map.pixel(x + dx, y + dy) != sheet.pixel(m % 16 * 32 + dx, m / 16 * 32 + dy);
        }
        EXPECT_EQ(wrongCells, 0);

        // The top left pixel of each quarter: its subtile's first tile's first pixel, in the
        // sub-palette of the quarter's bits (top left 0-1, bottom left 4-5, top right 2-3,
        // bottom right 6-7).
        constexpr std::array<int, 4> kBits = {0, 4, 2, 6};
        int wrongQuarters = 0;
        for (int m = 0; m < 256; ++m) {
            const auto& def = s.metatiles.metatileDefs[static_cast<std::size_t>(m)];
            for (int q = 0; q < 4; ++q) {
                const std::uint8_t tile = s.metatiles.subtileDefs[def[static_cast<std::size_t>(1 + q)]][0];
                const auto colours =
                    tileSheetColours(s.currentScene.palette,
                                     static_cast<std::uint8_t>(def[0] >> kBits[static_cast<std::size_t>(q)] & 3));
                wrongQuarters += sheet.pixel(m % 16 * 32 + q / 2 * 16, m / 16 * 32 + q % 2 * 16)
                    != colours[tilePixel(s.bkgPatterns, tile, 0, 0)];
            }
        }
        EXPECT_EQ(wrongQuarters, 0);
        EXPECT_EQ(std::pair(all.width(), all.height()), std::pair(map.width(), map.height()));
        EXPECT_NE(all, map) << "the actors show";
    }
}

// A full disk: the command fails with the reason, and no picture, whole or cut off, is left.
TEST(CliRender, AFullDiskLeavesNoPicture)
{
    CliFixtureDir dir;
    setWriteFaultForTesting([](WriteStep step) { return step == WriteStep::WriteTemp ? ENOSPC : 0; });
    const CliRun run = cli({"render", dir.romArg(), "c:000000", dir.arg("map.png")});
    setWriteFaultForTesting({});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "Unknown I/O error!\n" + dir.arg("map.png") + ": No space left on device\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("map.png")));
}

}  // namespace
}  // namespace velmar::test
