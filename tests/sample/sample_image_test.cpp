#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "actors/actor_drawing.h"
#include "expansion/actor_packer.h"
#include "expansion/map_packer.h"
#include "gfx/pattern_tiles.h"
#include "rom/address_map.h"
#include "rom/area_catalogue.h"
#include "rom/scene_codec.h"
#include "sample/sample_rom.h"
#include "support/test_support.h"

namespace velmar {
namespace {

using namespace rommap;

const Bytes& rom() { return test::sampleImage().romData; }

std::vector<SceneKey> catalogueScenes()
{
    std::vector<SceneKey> keys;
    for (const AreaNode& node : areaCatalogue())
        if (const auto key = parseSceneKey(node.key))
            keys.push_back(*key);
    return keys;
}

TEST(SampleImage, SameBytesEveryTime) { EXPECT_TRUE(buildSampleRom().fileBytes() == test::sampleImage().fileBytes()); }

// Every catalogue scene loads with its tables and banks, and storing it unchanged writes back
// exactly the bytes it came from: lists already in order, BKG banks multiples of 8, palettes
// that do not overlap.
TEST(SampleImage, CatalogueScenesLoadAndStoreUnchanged)
{
    for (const SceneKey& key : catalogueScenes()) {
        SCOPED_TRACE(testing::Message() << "stage " << int{key.stage} << " scene " << int{key.scene});
        SceneRecord scene;
        ASSERT_TRUE(loadScene(rom(), key.stage, key.scene, scene).ok());
        MetatileTables tables;
        EXPECT_TRUE(loadMetatileTables(rom(), scene, tables).ok());
        PixelArray pixels;
        EXPECT_TRUE(loadChrBank(rom(), pixels, scene.sprBank).ok());
        EXPECT_TRUE(loadChrBank(rom(), pixels, scene.bkgBank).ok());
        EXPECT_EQ(rom()[kBkgBanks + key.stage] % 8, 0);
        for (const std::uint8_t colour : scene.palette)
            EXPECT_LE(colour, 0x3F);
        // A level, not a blank: the map uses a handful of blocks and its banks hold drawings.
        EXPECT_GE(std::set<std::uint8_t>(scene.map.begin(), scene.map.end()).size(), 4u);
        EXPECT_TRUE(std::any_of(pixels.begin(), pixels.end(), [](std::uint8_t p) { return p != 0; }));

        // Its actors stand inside the map, their pictures below its top.
        for (const ItemRecord& item : scene.items) {
            EXPECT_LT(item.x, (scene.length + 1) * 16);
            EXPECT_GE(item.y, 0x50);
        }
        for (const EnemyRecord& enemy : scene.enemies) {
            EXPECT_LE(enemy.b, scene.length * 16 + 8);
            EXPECT_GE(enemy.xy & 0xF0, 0x70);
            EXPECT_LE(enemy.xy & 0xF0, 0xB0) << "feet below the floor line";
        }

        Bytes stored = rom();
        ASSERT_TRUE(storeScene(stored, scene).ok());
        EXPECT_TRUE(stored == rom());
    }
}

// Every enemy type placed in some scene, every stage's item and the player start show a sprite
// of their own, not the stand-in for one that cannot be read.
TEST(SampleImage, EveryActorHasASprite)
{
    std::set<int> enemyTypes;
    for (int sc = 0; sc < kSceneCount; ++sc) {
        SceneRecord s;
        ASSERT_TRUE(loadScene(rom(), 0, static_cast<std::uint8_t>(sc), s).ok());
        for (const EnemyRecord& e : s.enemies)
            enemyTypes.insert(e.id);
    }
    EXPECT_EQ(enemyTypes.size(), 41u) << "every enemy type appears somewhere";
    SpriteFrame frame;
    for (const int id : enemyTypes) {
        EXPECT_TRUE(enemySprite(rom(), static_cast<std::uint8_t>(id), frame).ok()) << "enemy " << id;
        EXPECT_GT(frame.tileCount, 0) << "enemy " << id;
    }
    for (int st = 0; st < kStageCount; ++st) {
        EXPECT_TRUE(itemSprite(rom(), rom()[kItemAnimations + st], frame).ok()) << "stage " << st;
        EXPECT_GT(frame.tileCount, 0) << "stage " << st;
    }
    ASSERT_TRUE(playerStartSprite(rom(), frame).ok());
    EXPECT_GT(frame.tileCount, 0);
}

// The sample holds what the packers must cope with: maps behind the scene tables, actor tables
// with 0xFF filler to the end of bank 2. Repacking it unchanged gives the same bytes.
TEST(SampleImage, UsesBothMapAreasAndAllOfBankTwo)
{
    const RomOffset areaEnd = actorAreaEnd(rom());
    EXPECT_EQ(areaEnd, bankStart(kActorBank + 1));
    EXPECT_GE(rom()[kMapPointers + 2 * 47] | rom()[kMapPointers + 2 * 47 + 1] << 8, 0xB590);
    Bytes image = rom();
    SceneRecord scene;
    ASSERT_TRUE(loadScene(image, 0, 47, scene).ok());
    EXPECT_TRUE(repackMaps(image, scene).ok());
    EXPECT_TRUE(repackActors(image, scene, areaEnd).ok());
    EXPECT_TRUE(image == rom());
}

int byteAt(RomOffset at) { return test::sampleImage().romData[static_cast<std::size_t>(at)]; }

constexpr RomOffset kMetatiles = 0x6000;   // table m at + 0x200 * m, 256 x 4 subtile numbers
constexpr RomOffset kAttributes = 0x7000;  // table m at + 0x100 * m, 256 bytes

// Entries 128-255 of metatile table m are entries 0-127 of table m + 1; their attributes, kept
// in separate tables, must agree, or a block would change colour with the tileset showing it.
TEST(SampleMetatiles, SharedHalvesKeepTheirColours)
{
    for (int m = 0; m < 3; ++m) {
        for (int i = 0; i < 128; ++i) {
            ASSERT_EQ(byteAt(kMetatiles + 0x200 * m + 4 * (128 + i)), byteAt(kMetatiles + 0x200 * (m + 1) + 4 * i));
            EXPECT_EQ(byteAt(kAttributes + 0x100 * m + 128 + i), byteAt(kAttributes + 0x100 * (m + 1) + i))
                << "table " << m << " entry " << 128 + i;
        }
    }
}

}  // namespace
}  // namespace velmar
