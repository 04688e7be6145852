#include <algorithm>

#include <gtest/gtest.h>

#include "core/expansion/pack_fixture.h"

namespace velmar {
namespace {

using namespace rommap;
using namespace test;

// Only the actor area, its pointers and its counts may change.
Bytes outsideActorArea(const Bytes& rom, RomOffset areaEnd)
{
    return outside(rom,
                   {{kItemXPointers, kEnemyIdPointers + 2 * kSceneCount},
                    {kItemCounts, kItemCounts + kSceneCount},
                    {kEnemyCounts, kEnemyCounts + kSceneCount},
                    {kActorAreaStart, areaEnd}});
}

// Default image: scene 0 has no actors, 1 has 1 item and 3 enemies, 2 and 3 have 2 and 3 items,
// 8 has 4 enemies, 47 has 3 items.
TEST(ActorResize, KeepsTheFirstRecordsAndEveryOtherScene)
{
    struct Case {
        int filler;  // 0xFF bytes between the tables and other data
        int scene;
        Op op;
        int count;
    };
    const Case cases[] = {{32, 1, Op::Enemies, 5}, {32, 3, Op::Items, 1},  {32, 2, Op::Items, 0},
                          {32, 0, Op::Enemies, 2}, {32, 47, Op::Items, 6}, {32, 8, Op::Enemies, 0},
                          {0, 3, Op::Items, 2},   // the refill stops at the data behind
                          {6, 0, Op::Items, 3}};  // exactly full
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "filler " << c.filler << ", scene " << c.scene << " to " << c.count);
        PackLayout layout = defaultLayout();
        layout.actorFiller = c.filler;
        const Bytes original = buildPackImage(layout);
        const RomOffset areaEnd = actorAreaEnd(original);
        ASSERT_EQ(areaEnd, kActorAreaStart + kDefaultActorBytes + c.filler);
        Bytes rom = original;
        SceneRecord scene = loadPackScene(rom, c.scene);
        const SceneRecord old = scene;
        const Outcome<ResizeResult> r = resize(c.op, rom, scene, c.count, areaEnd);
        ASSERT_TRUE(r.ok()) << r.reason;
        EXPECT_EQ(resizeMessage(c.op, r),
                  c.op == Op::Items ? "Item count changed successfully!" : "Enemy count changed successfully!");

        // The first records stay; new items are {0, 0x80, 0}, new enemies {0, 0xD9, 0}.
        SceneRecord expected = old;
        if (c.op == Op::Items)
            expected.items.resize(static_cast<std::size_t>(c.count), ItemRecord{0x00, 0x80, 0x00});
        else
            expected.enemies.resize(static_cast<std::size_t>(c.count), EnemyRecord{0x00, 0xD9, 0x00});
        EXPECT_EQ(scene.items, expected.items);
        EXPECT_EQ(scene.enemies, expected.enemies);
        // The record carries the new table addresses and counts: it is what a fresh load finds.
        EXPECT_EQ(scene, loadPackScene(rom, c.scene));
        expectOtherScenesUnchanged(original, rom, c.scene);
        EXPECT_TRUE(outsideActorArea(rom, areaEnd) == outsideActorArea(original, areaEnd));
        EXPECT_EQ(actorAreaEnd(rom), areaEnd) << "space a shrink frees is filler again, found on the next load";
    }
}

TEST(ActorPacker, AreaEndCountsOnlyTablesInsideBankTwo)
{
    const RomOffset usual = kActorAreaStart + kDefaultActorBytes + defaultLayout().actorFiller;
    struct Case {
        RomOffset entry;  // a pointer changed, or 0 for filler up to 0xC100
        CpuAddress pointer;
        RomOffset expected;
    };
    const Case cases[] = {
        {0, 0, 0xC000},                              // filler never counts past bank 2
        {kItemXPointers + 2 * 47, 0xC100, usual},    // 3 items in the fixed bank
        {kEnemyBPointers + 2 * 8, 0xBFFE, usual},    // 4 enemies across the end of bank 2
        {kItemXPointers + 2 * 0, 0xBF00, usual},     // no items: no space taken
        {kEnemyIdPointers + 2 * 1, 0xB000, 0xB003},  // 3 enemies further on
    };
    for (const Case& c : cases) {
        Bytes rom = buildPackImage(defaultLayout());
        if (c.entry)
            putWord(rom, c.entry, c.pointer);
        else
            std::fill(rom.begin() + kActorAreaStart + kDefaultActorBytes, rom.begin() + 0xC100, 0xFF);
        EXPECT_EQ(actorAreaEnd(rom), c.expected) << std::hex << c.entry << " " << c.pointer;
    }
    Bytes shortImage = buildPackImage(defaultLayout());
    shortImage.resize(0x9C00);
    EXPECT_LE(actorAreaEnd(shortImage), 0x9C00);
}

}  // namespace
}  // namespace velmar
