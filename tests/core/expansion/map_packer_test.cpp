#include <gtest/gtest.h>

#include "core/expansion/pack_fixture.h"
#include "expansion/map_packer.h"

namespace velmar {
namespace {

using namespace rommap;
using test::buildPackImage;
using test::defaultLayout;
using test::loadPackScene;
using test::PackLayout;

constexpr int kNew = -1;  // a screen added by a resize: all metatile 0xFF

CpuAddress mapPointer(const Bytes& rom, int scene) { return test::wordAt(rom, kMapPointers + 2 * scene); }

// Default image: scene 1 has 2 screens, 3 and 47 have 4, 4 has 1.
TEST(MapResize, KeepsTheRightScreensAndEveryOtherScene)
{
    struct Case {
        int scene;
        int newLength;
        bool atEnd;
        std::vector<int> screens;
    };
    std::vector<int> sixteenNewThenOld(16, kNew);
    sixteenNewThenOld.push_back(0);
    const Case cases[] = {
        {1, 3, true, {0, 1, kNew, kNew}}, {1, 3, false, {kNew, kNew, 0, 1}}, {3, 1, true, {0, 1}},
        {3, 1, false, {2, 3}},            {4, 16, false, sixteenNewThenOld}, {47, 0, true, {0}},
        {47, 0, false, {3}},
    };
    const Bytes original = buildPackImage(defaultLayout());
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "scene " << c.scene << " to " << c.newLength << (c.atEnd ? " right" : " left"));
        Bytes rom = original;
        SceneRecord scene = loadPackScene(rom, c.scene);
        RomStatus fault;
        ASSERT_EQ(resizeMap(rom, scene, c.newLength, c.atEnd, &fault), ResizeResult::Changed) << fault.message();

        Bytes expected;
        for (int s : c.screens) {
            for (int k = 0; k < kScreenBytes; ++k)
                expected.push_back(s == kNew ? 0xFF : test::mapByte(c.scene, s * kScreenBytes + k));
        }
        EXPECT_EQ(scene.map, expected);
        EXPECT_EQ(scene.length, c.newLength);
        EXPECT_EQ(scene, loadPackScene(rom, c.scene));  // new map address and direction included
        test::expectOtherScenesUnchanged(original, rom, c.scene);
        test::expectSameOutside(original, rom,
                                {{kMapAreaStart, kMapAreaGapFirst},
                                 {kMapAreaSecondStart, kMapAreaLast + 1},
                                 {kMapPointers, kMapPointers + 2 * kSceneCount},
                                 {kDirectionLength, kDirectionLength + kSceneCount}});
    }
}

TEST(MapResize, RefusesLengthsAboveSixteenAndIgnoresTheSameLength)
{
    const Bytes original = buildPackImage(defaultLayout());
    for (int length : {-1, 17, 0x7F, 2}) {  // scene 2 has length 2
        Bytes rom = original;
        SceneRecord scene = loadPackScene(rom, 2);
        const SceneRecord old = scene;
        const ResizeResult r = resizeMap(rom, scene, length, false);
        EXPECT_EQ(r, length == 2 ? ResizeResult::Unchanged : ResizeResult::InvalidSize) << length;
        EXPECT_EQ(resizeMapMessage(r), length == 2 ? "" : "Invalid dimensions! (max=$10)");
        EXPECT_EQ(scene, old);
        EXPECT_EQ(rom, original);
    }
    EXPECT_EQ(resizeMapMessage(ResizeResult::Changed), "Map size changed successfully!");
    EXPECT_EQ(resizeMapMessage(ResizeResult::NoSpace), "Map data exceeds available space!");
}

TEST(MapPacker, RepackingTwiceGivesTheSameBytes)
{
    Bytes rom = buildPackImage(defaultLayout());  // maps out of order, spare bytes between
    const Bytes original = rom;
    SceneRecord scene = loadPackScene(rom, 9);
    ASSERT_EQ(repackMaps(rom, scene), ResizeResult::Changed);
    EXPECT_EQ(mapPointer(rom, 0), 0x8000);
    test::expectOtherScenesUnchanged(original, rom, -1);
    const Bytes packed = rom;
    ASSERT_EQ(repackMaps(rom, scene), ResizeResult::Changed);
    EXPECT_EQ(rom, packed);
}

// In scene order, back to back: scenes 0-10 of 17 screens, scene 11 of `screens11`, 12-47 of
// `screensRest(i)`. Below the scene tables there is room for 192 screens (up to 0x23FF).
PackLayout packedLayout(int screens11, int (*screensRest)(int))
{
    PackLayout layout = defaultLayout();
    layout.mapsReversed = false;
    layout.mapGap = 0;
    for (int i = 0; i < kSceneCount; ++i)
        layout.lengths[static_cast<std::size_t>(i)] = (i <= 10 ? 17 : i == 11 ? screens11 : screensRest(i)) - 1;
    return layout;
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
        ASSERT_EQ(c.screens11 == 4 ? repackMaps(rom, scene) : resizeMap(rom, scene, c.screens11 - 1, true),
                  ResizeResult::Changed);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(mapPointer(rom, 12 + k), c.pointers[static_cast<std::size_t>(k)]) << "scene " << 12 + k;
        test::expectOtherScenesUnchanged(original, rom, 11);
        if (c.screens11 == 4) {
            EXPECT_EQ(rom, original);  // already packed
        }
    }
}

TEST(MapPacker, NoSpaceLeavesImageAndRecordUnchanged)
{
    // 192 screens below the tables and 54 behind them: both areas full (the second up to 0x3FAF;
    // one screen more would end at 0x3FDF, past 0x3FC0).
    const Bytes full = buildPackImage(packedLayout(5, [](int i) { return i < 30 ? 2 : 1; }));
    ASSERT_EQ(mapPointer(full, 47), 0xB590 + 53 * kScreenBytes);

    // Scenes 0-10 take 185 screens (to 0x22AF), scene 11 has 101 (0x12F0 bytes): next to them it
    // would end at 0x359F, across the tables; behind them it does not fit. Their maps share one
    // place in the image: only the lengths count.
    Bytes straddling = buildPackImage(defaultLayout());
    for (int i = 0; i < kSceneCount; ++i) {
        straddling[static_cast<std::size_t>(kDirectionLength + i)] =
            static_cast<std::uint8_t>(i <= 9 ? 16 : i == 10 ? 14 : i == 11 ? 100 : 0);
        if (i <= 11)
            test::putWord(straddling, kMapPointers + 2 * i, 0x8000);
    }

    struct Case {
        const Bytes* image;
        int scene;
        int newLength;
        bool atEnd;
        ResizeResult result;
    };
    const Case cases[] = {
        {&full, 47, 1, true, ResizeResult::NoSpace},   {&full, 12, 2, false, ResizeResult::NoSpace},
        {&full, 11, 3, true, ResizeResult::Changed},   {&full, 0, 15, false, ResizeResult::Changed},
        {&straddling, 47, 1, true, ResizeResult::NoSpace},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "scene " << c.scene << " to " << c.newLength);
        Bytes rom = *c.image;
        SceneRecord scene = loadPackScene(rom, c.scene);
        const SceneRecord old = scene;
        const ResizeResult r = resizeMap(rom, scene, c.newLength, c.atEnd);
        EXPECT_EQ(r, c.result);
        if (r == ResizeResult::Changed) {
            test::expectOtherScenesUnchanged(*c.image, rom, c.scene);
        } else {
            EXPECT_EQ(rom, *c.image);
            EXPECT_EQ(scene, old);
        }
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
    ASSERT_EQ(resizeMap(rom, scene, 16, false), ResizeResult::Changed);
    test::expectOtherScenesUnchanged(original, rom, 0);
    EXPECT_EQ(loadPackScene(rom, 5).map.size(), 128u * kScreenBytes);

    SceneRecord longScene = loadPackScene(rom, 5);
    const Bytes packed = rom;
    EXPECT_EQ(repackMaps(rom, longScene), ResizeResult::Changed);
    EXPECT_EQ(rom, packed);
}

TEST(MapPacker, BadPointersAndShortImagesStopBeforeAnyWrite)
{
    struct Case {
        CpuAddress pointer7;
        std::size_t imageSize;
        RomStatus::Code code;
        RomOffset where;
    };
    const Case cases[] = {
        {0x1234, kImageSize, RomStatus::Code::BadPointer, kMapPointers + 14},
        {0x0000, kImageSize, RomStatus::Code::BadPointer, kMapPointers + 14},
        {0xAFF0, 0x3000, RomStatus::Code::OutsideImage, 0x2FF0},  // 4 screens from 0x2FF0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pointer7);
        Bytes rom = buildPackImage(defaultLayout());
        test::putWord(rom, kMapPointers + 2 * 7, c.pointer7);
        SceneRecord scene = loadPackScene(rom, 2);
        rom.resize(c.imageSize);
        const Bytes original = rom;
        const SceneRecord old = scene;

        RomStatus fault;
        const ResizeResult r = resizeMap(rom, scene, 3, true, &fault);
        EXPECT_EQ(r, ResizeResult::BadData);
        EXPECT_EQ(fault.code, c.code);
        EXPECT_EQ(fault.where, c.where);
        EXPECT_EQ(resizeMapMessage(r, fault), fault.message());
        EXPECT_EQ(rom, original);
        EXPECT_EQ(scene, old);
    }
}

}  // namespace
}  // namespace velmar
