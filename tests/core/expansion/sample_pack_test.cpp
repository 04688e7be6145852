#include <gtest/gtest.h>

#include "core/expansion/pack_fixture.h"
#include "expansion/actor_packer.h"
#include "expansion/map_packer.h"
#include "support/test_support.h"

namespace velmar {
namespace {

using namespace rommap;

// The sample image is packed the way the packers pack: repacking it unchanged is a no-op.
TEST(SamplePack, RepackingTheUnchangedSampleGivesIdenticalBytes)
{
    const Bytes original = test::sampleImage().romData;
    if (test::wordAt(original, kMapPointers) < 0x8000)
        GTEST_SKIP() << "the sample image has no scenes yet";
    const RomOffset areaEnd = actorAreaEnd(original);
    EXPECT_GT(areaEnd, kActorAreaStart);
    EXPECT_LE(areaEnd, bankStart(kActorBank + 1));

    for (int sc : {0, 17, 47}) {
        SCOPED_TRACE(sc);
        Bytes rom = original;
        SceneRecord scene = test::loadPackScene(rom, sc);
        EXPECT_EQ(repackMaps(rom, scene), ResizeResult::Changed);
        EXPECT_EQ(repackActors(rom, scene, areaEnd), ResizeResult::Changed);
        EXPECT_EQ(rom, original);
    }
}

TEST(SamplePack, ResizingASampleSceneKeepsTheOthers)
{
    const Bytes original = test::sampleImage().romData;
    if (test::wordAt(original, kMapPointers) < 0x8000)
        GTEST_SKIP() << "the sample image has no scenes yet";
    Bytes rom = original;
    SceneRecord scene = test::loadPackScene(rom, 5);
    const int newLength = scene.length > 0 ? scene.length - 1 : 1;
    RomStatus fault;
    ASSERT_EQ(resizeMap(rom, scene, newLength, true, &fault), ResizeResult::Changed) << fault.message();
    ASSERT_EQ(resizeEnemies(rom, scene, scene.enemyCount + 2, actorAreaEnd(original), &fault), ResizeResult::Changed)
        << fault.message();
    EXPECT_EQ(scene, test::loadPackScene(rom, 5));
    test::expectOtherScenesUnchanged(original, rom, 5);
}

}  // namespace
}  // namespace velmar
