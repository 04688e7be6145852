#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "rom/address_map.h"
#include "rom/scene_codec.h"
#include "support/test_support.h"

namespace velmar {
namespace {

using namespace rommap;

// A blank image with one scene (stage 3, scene 5) laid out by hand.
struct SceneFixture {
    static constexpr std::uint8_t kStage = 3;
    static constexpr std::uint8_t kScene = 5;
    Bytes rom = Bytes(kImageSize, 0);

    void put(RomOffset at, std::initializer_list<int> bytes) { test::putBytes(rom, at, bytes); }
    void pointer(RomOffset table, int scene, CpuAddress a) { test::putWord(rom, table + 2 * scene, a); }

    SceneFixture()
    {
        put(kDirectionLength + kScene, {0x83});
        put(kStartX + kScene, {0x40});
        put(kStartY + kScene, {0xA0});
        pointer(kMapPointers, kScene, 0x8100);
        for (int i = 0; i < 4 * 48; ++i)
            rom[0x100 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
        put(kBackColourSprBank + kScene, {0x35});  // shared colour 3, SPR bank 5
        put(kTilesets + kStage, {0x0E});           // subtile table 3, metatile table 2
        put(kBkgBanks + kStage, {0x14});           // 2.5 banks: rounds to 2
        put(kReloads + kStage, {0x11});
        put(kIndicators + kStage, {0x22});
        put(kTimes + kStage, {0x99});
        put(kItemAnimations + kStage, {0x07});
        // Selectors: background 0 and 1 share palette 2; sprite 2 and 3 share palette 4.
        put(kBkgPal0Selector, {2});
        put(kBkgPal1Selectors + kStage, {2});
        put(kBkgPal2Selectors + kStage, {5});
        put(kBkgPal3Selectors + kStage, {6});
        put(kSprPal0Selector, {1});
        put(kSprPal1Selector, {3});
        put(kSprPal2Selectors + kScene, {4});
        put(kSprPal3Selectors + kScene, {4});
        for (int i = 0; i < 0x300; ++i)
            rom[static_cast<std::size_t>(kBkgPalettes + i)] = static_cast<std::uint8_t>(i & 0x3F);
        put(kSharedColours + 3, {0x0F});
        // Actors: two items, three enemies out of order, tables in bank 2.
        put(kItemCounts + kScene, {2});
        put(kEnemyCounts + kScene, {3});
        pointer(kItemXPointers, kScene, 0x9B48);
        pointer(kItemYIdPointers, kScene, 0x9B4A);
        pointer(kEnemyBPointers, kScene, 0x9B4C);
        pointer(kEnemyXYPointers, kScene, 0x9B4F);
        pointer(kEnemyIdPointers, kScene, 0x9B52);
        put(0x9B48, {0x05, 0x02, 0x37, 0x8A});
        put(0x9B4C, {9, 2, 5, 0xA3, 0xB4, 0xC5, 0x01, 0x02, 0x03});
    }

    SceneRecord load()
    {
        SceneRecord s;
        const RomStatus st = loadScene(rom, kStage, kScene, s);
        EXPECT_TRUE(st.ok()) << st.message();
        return s;
    }
};

TEST(SceneCodec, LoadsEveryField)
{
    SceneFixture f;
    const SceneRecord s = f.load();
    EXPECT_EQ(std::tuple(s.direction, s.length, s.startX, s.startY, s.reload, s.indicator, s.time, s.itemAnimation,
                         s.bkgBank, s.sprBank),
              std::tuple(0x80, 3, 0x40, 0xA0, 0x11, 0x22, 0x99, 0x07, 2, 5));
    EXPECT_EQ(std::tuple(s.mapAddress, s.subtileAddress, s.metatileAddress, s.attributeAddress, s.itemXAddress,
                         s.enemyIdAddress),
              std::tuple(0x8100, 0x8C00, 0xA400, 0xB200, 0x9B48, 0x9B52));
    EXPECT_EQ(s.map.size(), 192u);
    EXPECT_EQ(s.map[191], 191);
    EXPECT_EQ(s.palSelectors, (std::array<std::uint8_t, 8>{2, 2, 5, 6, 1, 3, 4, 4}));
    // Colour 0 of every sub-palette is the shared colour; the rest come from the triples.
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(s.palette[static_cast<std::size_t>(4 * k)], 0x0F);
    EXPECT_EQ(s.palette[1], 6);                    // 0x3000 + 3*2
    EXPECT_EQ(s.palette[9], 15);                   // 0x3000 + 3*5
    EXPECT_EQ(s.palette[17], (0x100 + 3) & 0x3F);  // 0x3100 + 3*1
    EXPECT_EQ(s.items, (std::vector<ItemRecord>{{0x05, 0x30, 0x07}, {0x02, 0x80, 0x0A}}));
    EXPECT_EQ(s.enemies, (std::vector<EnemyRecord>{{9, 0xA3, 1}, {2, 0xB4, 2}, {5, 0xC5, 3}}));
}

TEST(SceneCodec, StoreWritesFieldsSortedAndPacked)
{
    SceneFixture f;
    SceneRecord s = f.load();
    s.sprBank = 0x0C;
    s.direction = 0;
    s.length = 3;
    s.items[1] = {0x01, 0x30, 0x07};
    s.map[0] = 0xEE;
    ASSERT_TRUE(storeScene(f.rom, s).ok());

    EXPECT_EQ(f.rom[kBackColourSprBank + SceneFixture::kScene], 0x3C) << "high nibble kept";
    EXPECT_EQ(f.rom[kBkgBanks + SceneFixture::kStage], 0x14) << "0x14 reads as bank 2 and stays while it is";
    EXPECT_EQ(f.rom[kDirectionLength + SceneFixture::kScene], 0x03);
    EXPECT_EQ(f.rom[0x100], 0xEE);
    // Items sorted by x: (1, 0x37) before (5, 0x37); enemies by b: 2, 5, 9.
    EXPECT_EQ(Bytes(f.rom.begin() + 0x9B48, f.rom.begin() + 0x9B4C), (Bytes{0x01, 0x05, 0x37, 0x37}));
    EXPECT_EQ(Bytes(f.rom.begin() + 0x9B4C, f.rom.begin() + 0x9B55),
              (Bytes{2, 5, 9, 0xB4, 0xC5, 0xA3, 0x02, 0x03, 0x01}));
    EXPECT_EQ(s.enemies.front().b, 2) << "the record comes back sorted";

    const SceneRecord again = f.load();
    EXPECT_EQ(again.items, s.items);
    EXPECT_EQ(again.enemies, s.enemies);

    s.bkgBank = 3;
    ASSERT_TRUE(storeScene(f.rom, s).ok());
    EXPECT_EQ(f.rom[kBkgBanks + SceneFixture::kStage], 0x18) << "another bank is written as bank * 8";
}

// Tables read through a pointer must lie where writing them back touches nothing else.
TEST(SceneCodec, TablesOutOfTheirPlaceRefuseTheScene)
{
    const struct {
        const char* what;
        std::function<void(SceneFixture&)> spoil;
    } cases[] = {
        {"runs past bank 2", [](SceneFixture& f) { f.pointer(kEnemyIdPointers, SceneFixture::kScene, 0xBFFE); }},
        {"over the frame tables", [](SceneFixture& f) { f.pointer(kItemXPointers, SceneFixture::kScene, 0x8200); }},
        {"two tables overlap", [](SceneFixture& f) { f.pointer(kEnemyXYPointers, SceneFixture::kScene, 0x9B4D); }},
        {"map past bank 0", [](SceneFixture& f) { f.pointer(kMapPointers, SceneFixture::kScene, 0xBF80); }},
        {"map over the tables", [](SceneFixture& f) { f.pointer(kMapPointers, SceneFixture::kScene, 0xAC00); }},
        // One screen between the stage tables and the colours: over the time of stage $18.
        {"map after the stage tables",
         [](SceneFixture& f) {
             f.pointer(kMapPointers, SceneFixture::kScene, 0xAFC8);
             f.put(kDirectionLength + SceneFixture::kScene, {0x00});
         }},
    };
    for (const auto& c : cases) {
        SceneFixture f;
        c.spoil(f);
        SceneRecord s;
        const RomStatus st = loadScene(f.rom, SceneFixture::kStage, SceneFixture::kScene, s);
        EXPECT_EQ(st.code, RomStatus::Code::BadData) << c.what;
    }
    SceneFixture empty;  // an empty list may point anywhere
    empty.put(kItemCounts + SceneFixture::kScene, {0});
    empty.pointer(kItemXPointers, SceneFixture::kScene, 0x8000);
    empty.load();
}

// On the sample, scene $29 (stage $12) is made to reach into the tables of scene 1. Two scenes
// may read one actor list, wholly or in part, or the same map bytes: storing one then writes
// what the other reads as the same records, and each sees the other's edits. A list lying over
// another scene's tables any other way is refused: sorting or editing it on a store would write
// this scene's bytes into other fields of that scene's actors.
TEST(SceneCodec, TablesOverAnotherScenesAreRefusedUnlessShared)
{
    constexpr std::uint8_t kStage = 0x12;
    constexpr std::uint8_t kScene = 0x29;
    const Bytes sample = test::sampleImage().romData;
    SceneRecord one;
    ASSERT_TRUE(loadScene(sample, 0, 1, one).ok());
    ASSERT_GE(one.enemyCount, 3);

    const auto point = [](Bytes& rom, RomOffset pointers, RomOffset table) {
        test::putWord(rom, pointers + 2 * kScene, romOffsetToCpu(table));
    };
    const auto shareEnemies = [&](Bytes& rom, int count) {
        point(rom, kEnemyBPointers, one.enemyBAddress);
        point(rom, kEnemyXYPointers, one.enemyXYAddress);
        point(rom, kEnemyIdPointers, one.enemyIdAddress);
        rom[kEnemyCounts + kScene] = static_cast<std::uint8_t>(count);
    };
    const struct {
        const char* what;
        std::function<void(Bytes&)> change;
        const char* refusal;  // nullptr: both scenes load and share
    } cases[] = {
        {"enemy B pointer high byte $9C", [](Bytes& rom) { rom[kEnemyBPointers + 2 * kScene + 1] = 0x9C; },
         "The enemy B table overlaps the enemy position table of scene $01"},
        {"no enemies, B pointer high byte $9C",
         [](Bytes& rom) {
             rom[kEnemyBPointers + 2 * kScene + 1] = 0x9C;
             rom[kEnemyCounts + kScene] = 0;
         },
         nullptr},
        {"scene 1's enemy type table alone", [&](Bytes& rom) { point(rom, kEnemyIdPointers, one.enemyIdAddress); },
         "The enemy type table overlaps the enemy type table of scene $01"},
        {"scene 1's item X table as enemy B", [&](Bytes& rom) { point(rom, kEnemyBPointers, one.itemXAddress); },
         "The enemy B table overlaps the item X table of scene $01"},
        {"scene 1's enemy list", [&](Bytes& rom) { shareEnemies(rom, one.enemyCount); }, nullptr},
        {"scene 1's first two enemies", [&](Bytes& rom) { shareEnemies(rom, 2); }, nullptr},
        // Refused by its own tables first; scene 1 by $29's list reaching into its other tables.
        {"scene 1's enemy list and one record more", [&](Bytes& rom) { shareEnemies(rom, one.enemyCount + 1); },
         "The enemy B and enemy position tables overlap"},
        {"scene 1's map from its second screen",
         [&](Bytes& rom) { point(rom, kMapPointers, mapOffset(one.mapAddress) + kScreenBytes); }, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes rom = sample;
        c.change(rom);
        SceneRecord s;
        const RomStatus st = loadScene(rom, kStage, kScene, s);
        if (c.refusal) {
            EXPECT_EQ(st.code, RomStatus::Code::BadData);
            EXPECT_TRUE(st.message().starts_with(c.refusal)) << st.message();
            // Storing scene 1 would spoil $29's actors just as well.
            const RomStatus other = loadScene(rom, 0, 1, s);
            EXPECT_NE(other.message().find("table of scene $29"), std::string::npos) << other.message();
            continue;
        }
        ASSERT_TRUE(st.ok()) << st.message();
        // The first enemy moves to the end, the map's first byte changes: scene 1 sees both.
        if (!s.enemies.empty())
            s.enemies.front().b = 0xFF;
        s.map.front() ^= 0x5A;
        ASSERT_TRUE(storeScene(rom, s).ok());
        SceneRecord after;
        ASSERT_TRUE(loadScene(rom, 0, 1, after).ok());
        const bool sharedList = s.enemyBAddress == one.enemyBAddress;
        for (std::size_t i = 0; i < after.enemies.size(); ++i)
            EXPECT_EQ(after.enemies[i], sharedList && i < s.enemies.size() ? s.enemies[i] : one.enemies[i]) << i;
        const RomOffset mapAt = mapOffset(s.mapAddress) - mapOffset(one.mapAddress);
        for (std::size_t i = 0; i < after.map.size(); ++i) {
            const auto at = static_cast<RomOffset>(i) - mapAt;
            const bool sharedByte = at >= 0 && at < static_cast<RomOffset>(s.map.size());
            EXPECT_EQ(after.map[i], sharedByte ? s.map[static_cast<std::size_t>(at)] : one.map[i]) << i;
        }
    }
}

TEST(SceneCodec, SharedSelectorsAndPaletteOrder)
{
    SceneFixture f;
    SceneRecord s = f.load();
    // Background sub-palettes 0 and 1 share selector 2: the later one's colours win.
    s.palette[1] = 0x21;
    s.palette[5] = 0x22;
    s.palette[12] = 0x30;  // colour 0 of any sub-palette is the shared colour of index 3
    ASSERT_TRUE(storeScene(f.rom, s).ok());
    EXPECT_EQ(f.rom[kBkgPalettes + 6], 0x22);
    EXPECT_EQ(f.rom[kSharedColours + 3], 0x30);

    // Background sub-palette 0's selector is shared by every scene of every stage.
    s.palSelectors[0] = 7;
    ASSERT_TRUE(loadScenePalettes(f.rom, s, false).ok());
    EXPECT_EQ(s.palette[1], 21);
    ASSERT_TRUE(storeScene(f.rom, s).ok());
    RomReader r(f.rom);
    EXPECT_EQ(r.byte(kBkgPal0Selector), 7);
}

TEST(SceneCodec, BadDataStopsWithoutChanges)
{
    {  // an actor pointer below 0x8000
        SceneFixture f;
        f.pointer(kEnemyXYPointers, SceneFixture::kScene, 0x7FFF);
        SceneRecord s;
        s.time = 0x42;
        const RomStatus st = loadScene(f.rom, SceneFixture::kStage, SceneFixture::kScene, s);
        EXPECT_EQ(st.code, RomStatus::Code::BadPointer);
        EXPECT_EQ(st.where, kEnemyXYPointers + 2 * SceneFixture::kScene);
        EXPECT_EQ(s.time, 0x42) << "the record is untouched";
    }
    {  // an image too short for its tables
        Bytes tiny = {'x'};
        SceneRecord s;
        EXPECT_EQ(loadScene(tiny, 0, 0, s).code, RomStatus::Code::OutsideImage);
        EXPECT_FALSE(storeScene(tiny, s).ok());
        EXPECT_EQ(tiny, Bytes{'x'});
    }
    {  // an actor table that reaches past the end: nothing at all is written
        SceneFixture f;
        SceneRecord s = f.load();
        s.startX = 0x77;
        s.enemyIdAddress = static_cast<RomOffset>(f.rom.size()) - 1;
        const Bytes before = f.rom;
        EXPECT_EQ(storeScene(f.rom, s).code, RomStatus::Code::OutsideImage);
        EXPECT_EQ(f.rom, before);
    }
}

TEST(SceneCodec, MetatileTablesFollowTheTileset)
{
    SceneFixture f;
    for (int i = 0; i < 0x400; ++i) {
        f.rom[static_cast<std::size_t>(0x4C00 + i)] = static_cast<std::uint8_t>(i);         // subtile table 3
        f.rom[static_cast<std::size_t>(0x6400 + i)] = static_cast<std::uint8_t>(i ^ 0xFF);  // metatile table 2
    }
    for (int i = 0; i < 0x100; ++i)
        f.rom[static_cast<std::size_t>(0x7200 + i)] = static_cast<std::uint8_t>(255 - i);  // attributes 2
    const SceneRecord s = f.load();
    MetatileTables t;
    ASSERT_TRUE(loadMetatileTables(f.rom, s, t).ok());
    EXPECT_EQ(t.subtileDefs[1], (std::array<std::uint8_t, 4>{4, 5, 6, 7}));
    EXPECT_EQ(t.metatileDefs[2], (std::array<std::uint8_t, 5>{253, 0xF7, 0xF6, 0xF5, 0xF4}));

    // Stored back where they came from: unedited, byte for byte; edited, at their own bytes.
    const Bytes loaded = f.rom;
    ASSERT_TRUE(storeMetatileTables(f.rom, s, t).ok());
    EXPECT_EQ(f.rom, loaded);
    t.subtileDefs[1][2] = 0xAA;
    t.metatileDefs[2][0] = 0x55;
    t.metatileDefs[2][4] = 0x66;
    ASSERT_TRUE(storeMetatileTables(f.rom, s, t).ok());
    EXPECT_EQ(f.rom[0x4C00 + 4 + 2], 0xAA);
    EXPECT_EQ(f.rom[0x7200 + 2], 0x55);
    EXPECT_EQ(f.rom[0x6400 + 8 + 3], 0x66);
    MetatileTables again;
    ASSERT_TRUE(loadMetatileTables(f.rom, s, again).ok());
    EXPECT_EQ(again, t);
}

}  // namespace
}  // namespace velmar
