#include <gtest/gtest.h>

#include "actors/frame_sheet.h"
#include "cli_test_util.h"
#include "core/sample_document.h"

namespace velmar::test {
namespace {

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
