#include <gtest/gtest.h>

#include "cli_test_util.h"
#include "editor/document.h"
#include "base/file_writer.h"
#include "mapview/scene_view.h"
#include "rom/area_catalogue.h"

namespace velmar::test {
namespace {

// The pictures the editor shows for a scene, made directly through the core.
SceneView coreView(const char* key)
{
    Document doc;
    EXPECT_TRUE(doc.openImage(sampleImage(), "sample.nes").ok());
    EXPECT_TRUE(doc.selectScene(*parseSceneKey(key)).ok());
    SceneView view;
    redrawSceneView(doc.romData(), doc.scene(), view);
    return view;
}

TEST(CliRender, PicturesAreTheEditorsPixels)
{
    CliFixtureDir dir;
    for (const char* key : {"c:000000", "c:02070C", "c:030A12"}) {
        SCOPED_TRACE(key);
        const SceneView view = coreView(key);
        ASSERT_EQ(cli({"render", dir.romArg(), key, dir.arg("map.png")}).code, 0);
        ASSERT_EQ(cli({"render", dir.romArg(), key, dir.arg("all.png"), "--actors"}).code, 0);
        ASSERT_EQ(cli({"sheet", dir.romArg(), key, dir.arg("sheet.png")}).code, 0);
        // The core's encoding of those pixels, which its own tests read back.
        EXPECT_TRUE(sameBytes(readFile(dir.file("map.png")), pngText(view.map)));
        EXPECT_TRUE(sameBytes(readFile(dir.file("all.png")), pngText(composeAllActors(view))));
        EXPECT_TRUE(sameBytes(readFile(dir.file("sheet.png")), pngText(view.sheet)));
        EXPECT_NE(readFile(dir.file("all.png")), readFile(dir.file("map.png"))) << "the actors show";
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
