#include <gtest/gtest.h>

#include "core/expansion/pack_fixture.h"

namespace velmar {
namespace {

using namespace rommap;
using namespace test;

CpuAddress mapPointer(const Bytes& rom, int scene) { return wordAt(rom, kMapPointers + 2 * scene); }

// Default image: scene 1 has 2 screens, 3 and 47 have 4, 4 has 1.
TEST(MapResize, KeepsTheRightScreensAndEveryOtherScene)
{
    struct Case {
        int scene;
        int newLength;
        bool atEnd;
        std::string screens;  // old screen numbers; '.' a new screen, all metatile 0xFF
    };
    const Case cases[] = {{1, 3, true, "01.."},
                          {1, 3, false, "..01"},
                          {3, 1, true, "01"},
                          {3, 1, false, "23"},
                          {4, 16, false, "................0"},
                          {47, 0, true, "0"},
                          {47, 0, false, "3"}};
    const Bytes original = buildPackImage(defaultLayout());
    const auto outsideMaps = [](const Bytes& rom) {
        return outside(rom,
                       {{kMapAreaStart, kMapAreaGapFirst},
                        {kMapAreaSecondStart, kMapAreaLast + 1},
                        {kMapPointers, kMapPointers + 2 * kSceneCount},
                        {kDirectionLength, kDirectionLength + kSceneCount}});
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "scene " << c.scene << " to " << c.screens);
        Bytes rom = original;
        SceneRecord scene = loadPackScene(rom, c.scene);
        const Outcome<ResizeResult> r = resizeMap(rom, scene, c.newLength, c.atEnd);
        ASSERT_TRUE(r.ok()) << r.reason;
        EXPECT_EQ(resizeMapMessage(r), "Map size changed successfully!");

        Bytes expected;
        for (char s : c.screens) {
            for (int k = 0; k < kScreenBytes; ++k)
                expected.push_back(s == '.' ? 0xFF : mapByte(c.scene, (s - '0') * kScreenBytes + k));
        }
        EXPECT_EQ(scene.map, expected);
        EXPECT_EQ(scene.length, c.newLength);
        EXPECT_EQ(scene, loadPackScene(rom, c.scene));  // new map address and direction included
        expectOtherScenesUnchanged(original, rom, c.scene);
        EXPECT_TRUE(outsideMaps(rom) == outsideMaps(original));
    }
}

TEST(MapPacker, AMapThatWouldReachTheSceneTablesGoesBehindThem)
{
    struct Case {
        int screens11;
        std::array<CpuAddress, 3> pointers;  // of scenes 12, 13, 14
    };
    const Case cases[] = {
        {3, {0xA3A0, 0xA3D0, 0xB590}},  // scene 13 ends at 0x23FF
        {4, {0xA3D0, 0xB590, 0xB5C0}},  // scene 13 would end at 0x242F
        {5, {0xB590, 0xB5C0, 0xB5F0}},
    };
    const Bytes original = buildPackImage(packedLayout(4, [](int) { return 1; }));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.screens11);
        Bytes rom = original;
        SceneRecord scene = loadPackScene(rom, 11);
        ASSERT_TRUE((c.screens11 == 4 ? repackMaps(rom, scene) : resizeMap(rom, scene, c.screens11 - 1, true)).ok());
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(mapPointer(rom, 12 + k), c.pointers[static_cast<std::size_t>(k)]) << "scene " << 12 + k;
        expectOtherScenesUnchanged(original, rom, 11);
        EXPECT_TRUE(c.screens11 != 4 || rom == original) << "already packed: a repack changes nothing";
    }
}

TEST(MapPacker, LongStoredScenesArePackedWhole)
{
    // A table byte may say more than 17 screens; such a map is carried whole, never cut.
    PackLayout layout = defaultLayout();
    layout.lengths.fill(0);
    layout.lengths[5] = 0x7F;
    const Bytes original = buildPackImage(layout);
    Bytes rom = original;
    SceneRecord scene = loadPackScene(rom, 0);
    ASSERT_TRUE(resizeMap(rom, scene, 16, false).ok());
    expectOtherScenesUnchanged(original, rom, 0);
    EXPECT_EQ(loadPackScene(rom, 5).map.size(), 128u * kScreenBytes);
}

}  // namespace
}  // namespace velmar
