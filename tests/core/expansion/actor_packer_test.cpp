#include <algorithm>

#include <gtest/gtest.h>

#include "core/expansion/pack_fixture.h"
#include "expansion/actor_packer.h"

namespace velmar {
namespace {

using namespace rommap;
using test::buildPackImage;
using test::defaultLayout;
using test::loadPackScene;
using test::PackLayout;

enum class Kind { Items, Enemies };

ResizeResult resize(Kind kind, Bytes& rom, SceneRecord& scene, int count, RomOffset areaEnd, RomStatus* fault = nullptr)
{
    return kind == Kind::Items ? resizeItems(rom, scene, count, areaEnd, fault)
                               : resizeEnemies(rom, scene, count, areaEnd, fault);
}

// Only the actor area, its pointers and its counts may change.
void expectOnlyActorAreaChanged(const Bytes& before, const Bytes& after, RomOffset areaEnd)
{
    test::expectSameOutside(before, after,
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
        int scene;
        Kind kind;
        int count;
    };
    const Case cases[] = {{1, Kind::Enemies, 5}, {3, Kind::Items, 1},  {2, Kind::Items, 0},
                          {0, Kind::Enemies, 2}, {47, Kind::Items, 6}, {8, Kind::Enemies, 0}};
    const PackLayout layout = defaultLayout();
    const Bytes original = buildPackImage(layout);
    const RomOffset areaEnd = actorAreaEnd(original);
    ASSERT_EQ(areaEnd, kActorAreaStart + test::actorBytes(layout) + layout.actorFiller);

    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "scene " << c.scene << " to " << c.count);
        Bytes rom = original;
        SceneRecord scene = loadPackScene(rom, c.scene);
        const SceneRecord old = scene;
        RomStatus fault;
        const ResizeResult r = resize(c.kind, rom, scene, c.count, areaEnd, &fault);
        ASSERT_EQ(r, ResizeResult::Changed) << fault.message();

        const auto sc = static_cast<std::size_t>(c.scene);
        const auto kept = [&](int had) { return std::min(had, c.count); };
        if (c.kind == Kind::Items) {
            EXPECT_EQ(resizeItemsMessage(r), "Item count changed successfully!");
            std::vector<ItemRecord> expected(static_cast<std::size_t>(c.count), ItemRecord{0x00, 0x80, 0x00});
            for (int k = 0; k < kept(layout.itemCounts[sc]); ++k)
                expected[static_cast<std::size_t>(k)] = test::fixtureItem(c.scene, k);
            EXPECT_EQ(scene.items, expected);
            EXPECT_EQ(scene.itemCount, c.count);
            EXPECT_EQ(scene.enemies, old.enemies);
        } else {
            EXPECT_EQ(resizeEnemiesMessage(r), "Enemy count changed successfully!");
            std::vector<EnemyRecord> expected(static_cast<std::size_t>(c.count), EnemyRecord{0x00, 0xD9, 0x00});
            for (int k = 0; k < kept(layout.enemyCounts[sc]); ++k)
                expected[static_cast<std::size_t>(k)] = test::fixtureEnemy(c.scene, k);
            EXPECT_EQ(scene.enemies, expected);
            EXPECT_EQ(scene.enemyCount, c.count);
            EXPECT_EQ(scene.items, old.items);
        }
        // The record carries the new table addresses: it is what a fresh load finds.
        EXPECT_EQ(scene, loadPackScene(rom, c.scene));
        test::expectOtherScenesUnchanged(original, rom, c.scene);
        expectOnlyActorAreaChanged(original, rom, areaEnd);
        EXPECT_EQ(actorAreaEnd(rom), areaEnd);  // what is left over is filler again
    }
}

TEST(ActorResize, RefusesCountsAbove255AndIgnoresTheSameCount)
{
    const Bytes original = buildPackImage(defaultLayout());
    for (Kind kind : {Kind::Items, Kind::Enemies}) {
        const int same = kind == Kind::Items ? 3 : 4;  // scene 3
        for (int count : {-1, 256, 1000, same}) {
            Bytes rom = original;
            SceneRecord scene = loadPackScene(rom, 3);
            const SceneRecord old = scene;
            const ResizeResult r = resize(kind, rom, scene, count, actorAreaEnd(rom));
            EXPECT_EQ(r, count == same ? ResizeResult::Unchanged : ResizeResult::InvalidSize) << count;
            EXPECT_EQ(kind == Kind::Items ? resizeItemsMessage(r) : resizeEnemiesMessage(r),
                      count == same ? "" : "Invalid count! (max=$FF)");
            EXPECT_EQ(scene, old);
            EXPECT_EQ(rom, original);
        }
    }
    EXPECT_EQ(resizeItemsMessage(ResizeResult::NoSpace), "Actor data exceeds available space!");
    EXPECT_EQ(resizeEnemiesMessage(ResizeResult::NoSpace), "Actor data exceeds available space!");
}

TEST(ActorPacker, TablesNeverGrowIntoTheDataBehindThem)
{
    struct Case {
        int filler;  // 0xFF bytes between the tables and the data behind them
        int scene;
        Kind kind;
        int count;
        ResizeResult result;
    };
    const Case cases[] = {
        {0, 0, Kind::Items, 1, ResizeResult::NoSpace},  // other data right behind the last table
        {0, 3, Kind::Items, 2, ResizeResult::Changed},  {6, 0, Kind::Items, 3, ResizeResult::Changed},
        {6, 0, Kind::Items, 4, ResizeResult::NoSpace},  {6, 0, Kind::Enemies, 2, ResizeResult::Changed},
        {6, 0, Kind::Enemies, 3, ResizeResult::NoSpace}, {6, 5, Kind::Enemies, 255, ResizeResult::NoSpace},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "filler " << c.filler << ", scene " << c.scene << " to " << c.count);
        PackLayout layout = defaultLayout();
        layout.actorFiller = c.filler;
        const Bytes original = buildPackImage(layout);
        const RomOffset areaEnd = actorAreaEnd(original);
        ASSERT_EQ(areaEnd, kActorAreaStart + test::actorBytes(layout) + c.filler);

        Bytes rom = original;
        SceneRecord scene = loadPackScene(rom, c.scene);
        const SceneRecord old = scene;
        EXPECT_EQ(resize(c.kind, rom, scene, c.count, areaEnd), c.result);
        if (c.result == ResizeResult::Changed) {
            expectOnlyActorAreaChanged(original, rom, areaEnd);
        } else {
            EXPECT_EQ(rom, original);
            EXPECT_EQ(scene, old);
        }
    }
}

TEST(ActorPacker, SpaceFreedByAShrinkIsFoundAgainAfterReload)
{
    PackLayout layout = defaultLayout();
    layout.actorFiller = 0;
    Bytes rom = buildPackImage(layout);
    const RomOffset areaEnd = actorAreaEnd(rom);
    SceneRecord scene = loadPackScene(rom, 1);
    ASSERT_EQ(resizeEnemies(rom, scene, 0, areaEnd), ResizeResult::Changed);  // frees 9 bytes

    // As when the file is opened again: the limit comes from the bytes alone.
    const RomOffset reloaded = actorAreaEnd(rom);
    EXPECT_EQ(reloaded, areaEnd);
    SceneRecord other = loadPackScene(rom, 0);
    EXPECT_EQ(resizeItems(rom, other, 5, reloaded), ResizeResult::NoSpace);  // 10 bytes
    EXPECT_EQ(resizeItems(rom, other, 4, reloaded), ResizeResult::Changed);
    EXPECT_EQ(actorAreaEnd(rom), areaEnd);
}

TEST(ActorPacker, AreaEndCountsOnlyTablesInsideBankTwo)
{
    const PackLayout layout = defaultLayout();
    const RomOffset usual = kActorAreaStart + test::actorBytes(layout) + layout.actorFiller;
    struct Case {
        RomOffset entry;  // a pointer changed, or 0 for filler up to 0xC100
        CpuAddress pointer;
        RomOffset expected;
    };
    const Case cases[] = {
        {0, 0, 0xC000},                                        // filler never counts past bank 2
        {kItemXPointers + 2 * 47, 0xC100, usual},              // 3 items in the fixed bank
        {kEnemyBPointers + 2 * 8, 0xBFFE, usual},              // 4 enemies across the end of bank 2
        {kItemXPointers + 2 * 0, 0xBF00, usual},               // no items: no space taken
        {kEnemyIdPointers + 2 * 47, 0x1234, usual},            // not a ROM address
        {kEnemyIdPointers + 2 * 1, 0xB000, 0xB003},            // 3 enemies further on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.entry << " " << c.pointer);
        Bytes rom = buildPackImage(layout);
        if (c.entry)
            test::putWord(rom, c.entry, c.pointer);
        else
            std::fill(rom.begin() + kActorAreaStart + test::actorBytes(layout), rom.begin() + 0xC100, 0xFF);
        EXPECT_EQ(actorAreaEnd(rom), c.expected);
    }
    Bytes shortImage = buildPackImage(layout);
    shortImage.resize(0x9C00);
    EXPECT_LE(actorAreaEnd(shortImage), 0x9C00);
}

TEST(ActorPacker, ZeroCountsStillGetPointers)
{
    PackLayout layout = defaultLayout();
    layout.itemCounts.fill(0);
    layout.enemyCounts.fill(0);
    layout.itemCounts[5] = 1;
    layout.actorFiller = 10;
    Bytes rom = buildPackImage(layout);
    const RomOffset areaEnd = actorAreaEnd(rom);
    SceneRecord scene = loadPackScene(rom, 5);
    ASSERT_EQ(resizeItems(rom, scene, 0, areaEnd), ResizeResult::Changed);

    for (RomOffset table = kItemXPointers; table < kEnemyIdPointers + 2 * kSceneCount; table += 2)
        EXPECT_EQ(test::wordAt(rom, table), kActorAreaCpu) << std::hex << table;
    EXPECT_TRUE(std::all_of(rom.begin() + kActorAreaStart, rom.begin() + areaEnd, [](std::uint8_t b) { return b == 0xFF; }));
    ASSERT_EQ(resizeItems(rom, scene, 1, actorAreaEnd(rom)), ResizeResult::Changed);
    EXPECT_EQ(loadPackScene(rom, 5).items, std::vector<ItemRecord>{kNewItem});
}

TEST(ActorPacker, BadPointersStopBeforeAnyWrite)
{
    struct Case {
        RomOffset entry;
        CpuAddress pointer;
        std::size_t imageSize;
        RomStatus::Code code;
    };
    const Case cases[] = {
        {kItemXPointers + 2 * 9, 0x7FFF, kImageSize, RomStatus::Code::BadPointer},
        {kEnemyIdPointers + 2 * 40, 0x0000, kImageSize, RomStatus::Code::BadPointer},
        {kItemXPointers + 2 * 0, 0x0100, kImageSize, RomStatus::Code::BadPointer},  // of an empty table
        {kItemXPointers + 2 * 2, 0x9BFF, 0x9C00, RomStatus::Code::OutsideImage},     // past a short image
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.entry << " " << c.pointer);
        Bytes rom = buildPackImage(defaultLayout());
        const RomOffset areaEnd = actorAreaEnd(rom);
        SceneRecord scene = loadPackScene(rom, 1);
        test::putWord(rom, c.entry, c.pointer);
        rom.resize(c.imageSize);
        const Bytes original = rom;
        const SceneRecord old = scene;

        RomStatus fault;
        const ResizeResult r = resizeEnemies(rom, scene, 5, areaEnd, &fault);
        EXPECT_EQ(r, ResizeResult::BadData);
        EXPECT_EQ(fault.code, c.code);
        if (c.code == RomStatus::Code::BadPointer) {
            EXPECT_EQ(fault.where, c.entry);
        }
        EXPECT_EQ(resizeEnemiesMessage(r, fault), fault.message());
        EXPECT_EQ(rom, original);
        EXPECT_EQ(scene, old);
    }
}

TEST(ActorPacker, RepacksListsInTheirOrderAndTwiceGivesTheSameBytes)
{
    Bytes rom = buildPackImage(defaultLayout());
    const Bytes original = rom;
    const RomOffset areaEnd = actorAreaEnd(rom);
    SceneRecord scene = loadPackScene(rom, 3);
    std::reverse(scene.items.begin(), scene.items.end());
    ASSERT_EQ(repackActors(rom, scene, areaEnd), ResizeResult::Changed);
    EXPECT_EQ(loadPackScene(rom, 3).items, scene.items);  // not sorted: that is the store's job
    test::expectOtherScenesUnchanged(original, rom, 3);

    const Bytes packed = rom;
    ASSERT_EQ(repackActors(rom, scene, areaEnd), ResizeResult::Changed);
    EXPECT_EQ(rom, packed);
}

}  // namespace
}  // namespace velmar
