#include <gtest/gtest.h>

#include "actors/sprite_frames.h"
#include "rom/address_map.h"
#include "support/test_support.h"

namespace velmar {
namespace {

using namespace rommap;

struct FrameRom {
    Bytes rom = Bytes(kImageSize, 0);
    void put(RomOffset at, std::initializer_list<int> bytes) { test::putBytes(rom, at, bytes); }
    void ptr(RomOffset at, CpuAddress a) { test::putWord(rom, at, a); }
};

TEST(SpriteFrames, ReadWriteAndSetEnd)
{
    FrameRom f;
    f.ptr(kEnemyFrameTiles + 0, 0x9000);
    f.ptr(kEnemyFrameTiles + 2, 0x9020);
    f.put(kEnemyFrameTiles + 4, {0xFF, 0x80});
    f.ptr(kEnemyFrameAttributes + 0, 0x9010);
    f.ptr(kEnemyFrameAttributes + 2, 0x9010);
    f.put(0x9000, {2, 0x10, 0xF8, 0xF0, 0x12, 0x00, 0xF0});  // ROM order: tile, X, Y
    f.put(0x9010, {0x01, 0x41});
    EXPECT_EQ(lastFrameIndex(f.rom, FrameSet::Enemy), 1);

    SpriteFrame frame;
    ASSERT_TRUE(readSpriteFrame(f.rom, FrameSet::Enemy, 0, frame).ok());
    EXPECT_EQ(frame.tileCount, 2);
    EXPECT_EQ(frame.tiles[0], (FrameTile{0xF8, 0xF0, 0x10}));
    EXPECT_EQ(frame.attributes, (std::vector<std::uint8_t>{0x01, 0x41}));
    EXPECT_EQ(std::pair(frame.tilesAddress, frame.attributesAddress), std::pair(0x9000, 0x9010));

    frame.tiles[1].offsetX = 0x08;
    frame.attributes[0] = 0x83;
    ASSERT_TRUE(writeSpriteFrame(f.rom, FrameSet::Enemy, 0, frame).ok());
    EXPECT_EQ(f.rom[0x9005], 0x08);
    EXPECT_EQ(f.rom[0x9010], 0x83);
    SpriteFrame again;
    ASSERT_TRUE(readSpriteFrame(f.rom, FrameSet::Enemy, 0, again).ok());
    EXPECT_EQ(again, frame);

    f.put(kPlayerFrameTiles, {0xFF, 0x80});
    EXPECT_EQ(lastFrameIndex(f.rom, FrameSet::Player), -1) << "a set without frames";
    f.ptr(kEnemyFrameTiles + 2, 0x7000);
    EXPECT_EQ(readSpriteFrame(f.rom, FrameSet::Enemy, 1, frame).code, RomStatus::Code::BadPointer);
    EXPECT_EQ(frame, again) << "a failed read leaves the frame alone";
}

TEST(SpriteFrames, AnimationsEndAfterTheFirstPair)
{
    struct Case {
        std::initializer_list<int> stored;
        Bytes read;
    };
    const Case cases[] = {
        {{0x08, 0x03, 0x08, 0x04, 0x00}, {0x08, 0x03, 0x08, 0x04}},
        {{0x00, 0x05, 0xFF}, {0x00, 0x05}},
        {{0x10, 0x01, 0xFF, 0x09}, {0x10, 0x01}},
    };
    for (const Case& c : cases) {
        FrameRom f;
        f.ptr(kAnimations + 2 * 3, 0x9800);
        f.put(0x9800, c.stored);
        Bytes pairs;
        ASSERT_TRUE(readAnimation(f.rom, 3, pairs).ok());
        EXPECT_EQ(pairs, c.read);
        pairs[1] = 0x2A;
        ASSERT_TRUE(writeAnimation(f.rom, 3, pairs).ok());
        std::uint8_t first = 0;
        ASSERT_TRUE(animationFirstFrame(f.rom, 3, first).ok());
        EXPECT_EQ(first, 0x2A);
    }
    FrameRom endless;
    endless.ptr(kAnimations, 0xBFF0);
    std::fill(endless.rom.begin() + 0xBFF0, endless.rom.begin() + 0xC100, 0x01);
    Bytes pairs;
    EXPECT_FALSE(readAnimation(endless.rom, 0, pairs).ok()) << "an animation may not run out of its bank";
}

TEST(SpriteFrames, EnemyTypesResolveThroughTheirHandler)
{
    ASSERT_EQ(enemyAnimationSites().size(), 33u);
    for (const EnemyAnimationSite& site : enemyAnimationSites()) {
        EXPECT_LE(site.first, site.last);
        const RomOffset inside = site.animationByte - 0x1C000 + 0xC000;
        EXPECT_TRUE(inside >= site.first && inside <= site.last) << std::hex << site.first;
    }

    FrameRom f;
    // Type 2 -> word at 0xE000 = 0xC410 (site 4, animation byte 0x1C422) -> animation 5 -> frame 9.
    f.ptr(kEnemyHandlers + 4, 0xE000);
    f.ptr(0x1E000, 0xC410);
    f.put(0x1C422, {5});
    f.ptr(kAnimations + 10, 0x9900);
    f.put(0x9900, {0x08, 0x09, 0xFF});
    // Type 3 -> a handler in no site -> frame 0.
    f.ptr(kEnemyHandlers + 6, 0xE002);
    f.ptr(0x1E002, 0xC1F0);
    // Type 4 -> a pointer below 0x8000.
    f.ptr(kEnemyHandlers + 8, 0x1234);

    std::uint8_t frame = 0xEE;
    ASSERT_TRUE(enemyFirstFrame(f.rom, 2, frame).ok());
    EXPECT_EQ(frame, 9);
    ASSERT_TRUE(enemyFirstFrame(f.rom, 3, frame).ok());
    EXPECT_EQ(frame, 0);
    EXPECT_EQ(enemyFirstFrame(f.rom, 4, frame).code, RomStatus::Code::BadPointer);
}

}  // namespace
}  // namespace velmar
