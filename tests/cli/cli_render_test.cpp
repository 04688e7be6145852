#include <gtest/gtest.h>

#include "actors/frame_sheet.h"
#include "base/file_writer.h"
#include "cli_test_util.h"
#include "core/sample_document.h"
#include "gfx/metatile_render.h"

namespace velmar::test {
namespace {

// sheet draws the scene's metatiles from its own tables and banks in its background
// sub-palettes, render builds the map from that sheet, and --actors adds the actors over it.
TEST(CliRender, TheMapIsTheSheetsMetatilesInTheirPalettes)
{
    CliFixtureDir dir;
    // Scenes of both directions, one of them longer than a picture the program reads back.
    for (const char* key : {"c:000000", "c:030910", "c:010205"}) {
        SCOPED_TRACE(key);
        ASSERT_EQ(cli({"render", dir.romArg(), key, dir.arg("map.png")}).code, 0);
        ASSERT_EQ(cli({"render", dir.romArg(), key, dir.arg("all.png"), "--actors"}).code, 0);
        ASSERT_EQ(cli({"sheet", dir.romArg(), key, dir.arg("sheet.png")}).code, 0);
        const SampleDocument sample(*parseSceneKey(key));
        const SceneState& s = sample.doc.scene();
        Bitmap sheet(kSheetSize, kSheetSize, 0), map;
        drawMetatileSheet(sheet, s.metatiles, s.bkgPatterns, 0, 255, s.currentScene.palette);
        renderMap(map, sheet, s.currentScene);
        EXPECT_TRUE(sameBytes(readFile(dir.file("sheet.png")), pngText(sheet)));
        EXPECT_TRUE(sameBytes(readFile(dir.file("map.png")), pngText(map)));
        EXPECT_NE(readFile(dir.file("all.png")), pngText(map)) << "the actors show";
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

// The sheet is the core's (whose layout its own tests check), in the colours and banks of the
// scene --palette names, on a transparent background.
TEST(CliFrames, SheetOfEverySetIsTransparentBetweenItsFrames)
{
    CliFixtureDir dir;
    const SampleDocument sample(*parseSceneKey("c:02070C"));
    const Document& doc = sample.doc;
    for (const FrameSet set : {FrameSet::Enemy, FrameSet::Player}) {
        const std::string setArg = std::to_string(static_cast<int>(set));
        SCOPED_TRACE(setArg);
        const CliRun run = cli({"frames", dir.romArg(), setArg, dir.arg("frames.png"), "--palette", "c:02070C"});
        ASSERT_EQ(run.code, 0) << run.err;
        const SceneState& s = doc.scene();
        EXPECT_TRUE(sameBytes(
            readFile(dir.file("frames.png")),
            pngText(frameSheet(doc.romData(), set, s.sprPatterns, s.bkgPatterns, s.currentScene.palette), kKeyColour)));
    }
}

}  // namespace
}  // namespace velmar::test
