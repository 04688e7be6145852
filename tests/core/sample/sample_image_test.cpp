#include <gtest/gtest.h>

#include <algorithm>
#include <set>

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

int byteAt(RomOffset at) { return rom()[static_cast<std::size_t>(at)]; }
int wordAt(RomOffset at) { return byteAt(at) | byteAt(at + 1) << 8; }
int lengthOf(int scene) { return byteAt(kDirectionLength + scene) & 0x7F; }

std::vector<SceneKey> catalogueScenes()
{
    std::vector<SceneKey> keys;
    for (const AreaNode& node : areaCatalogue())
        if (const auto key = parseSceneKey(node.key))
            keys.push_back(*key);
    return keys;
}

TEST(SampleImage, HeaderAndSize)
{
    const RomImage& image = test::sampleImage();
    const std::array<std::uint8_t, 16> header{'N', 'E', 'S', 0x1A, 8, 16, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(image.romHeader, header);
    ASSERT_EQ(image.romData.size(), static_cast<std::size_t>(kImageSize));
    RomImage parsed;
    EXPECT_EQ(parseRomFile(image.fileBytes(), parsed), RomReadResult::Ok);
}

TEST(SampleImage, SameBytesEveryTime)
{
    const RomImage again = buildSampleRom();
    EXPECT_EQ(again.romHeader, test::sampleImage().romHeader);
    EXPECT_TRUE(again.romData == rom());
}

// Every catalogue scene loads with its tables and banks, and storing it unchanged writes back
// exactly the bytes it came from: lists already in order, BKG banks multiples of 8, palettes
// that do not overlap.
TEST(SampleImage, CatalogueScenesLoadAndStoreUnchanged)
{
    for (const SceneKey& key : catalogueScenes()) {
        SCOPED_TRACE(testing::Message() << "stage " << int{key.stage} << " scene " << int{key.scene});
        SceneRecord scene;
        ASSERT_TRUE(loadScene(rom(), key.stage, key.scene, scene).ok());
        EXPECT_EQ(scene.map.size(), static_cast<std::size_t>(scene.length + 1) * kScreenBytes);
        MetatileTables tables;
        EXPECT_TRUE(loadMetatileTables(rom(), scene, tables).ok());
        PixelArray pixels;
        EXPECT_TRUE(loadChrBank(rom(), pixels, scene.sprBank).ok());
        EXPECT_TRUE(loadChrBank(rom(), pixels, scene.bkgBank).ok());
        EXPECT_LT(scene.sprBank, 16);
        EXPECT_EQ(byteAt(kBkgBanks + key.stage) % 8, 0);
        for (const std::uint8_t colour : scene.palette)
            EXPECT_LE(colour, 0x3F);
        // A level, not a blank: the map uses a handful of blocks and its banks hold drawings.
        EXPECT_GE(std::set<std::uint8_t>(scene.map.begin(), scene.map.end()).size(), 4u);
        EXPECT_TRUE(std::any_of(pixels.begin(), pixels.end(), [](std::uint8_t p) { return p != 0; }));

        Bytes stored = rom();
        ASSERT_TRUE(storeScene(stored, scene).ok());
        EXPECT_TRUE(stored == rom());
    }
}

// The scenes outside the catalogue are packed with the others and must load too.
TEST(SampleImage, EverySceneLoads)
{
    for (int sc = 0; sc < kSceneCount; ++sc) {
        SceneRecord scene;
        EXPECT_TRUE(loadScene(rom(), 0, static_cast<std::uint8_t>(sc), scene).ok()) << "scene " << sc;
    }
}

// The pointers a repack of the unchanged maps would write: back to back from 0x8000, a map
// that would end inside 0x2401-0x358F moved to 0xB590, nothing past 0x3FC0.
TEST(SampleImage, MapsPackedByThePackingRule)
{
    int a = 0x8000;
    int last = 0;
    bool moved = false;
    for (int sc = 0; sc < kSceneCount; ++sc) {
        const int size = (lengthOf(sc) + 1) * kScreenBytes;
        int o = a & 0x3FFF;
        if (o + size - 1 > 0x2400 && o + size - 1 < 0x3590) {
            o = 0x3590;
            a = 0xB590;
            moved = true;
        }
        EXPECT_EQ(wordAt(kMapPointers + 2 * sc), a) << "scene " << sc;
        last = o + size - 1;
        a += size;
    }
    EXPECT_TRUE(moved) << "the sample should fill the first map area";
    EXPECT_LE(last, 0x3FC0);

    int longest = 0;
    int oneScreen = 0;
    int rightToLeft = 0;
    for (int sc = 0; sc < kSceneCount; ++sc) {
        longest = std::max(longest, lengthOf(sc));
        oneScreen += lengthOf(sc) == 0;
        rightToLeft += (byteAt(kDirectionLength + sc) & 0x80) != 0;
    }
    EXPECT_EQ(longest, kMaxMapLength);
    EXPECT_GE(oneScreen, 1);
    EXPECT_GE(rightToLeft, 3);
}

// The actor tables as the actor packer writes them, each list in the order a store keeps, every
// actor inside its scene, and 0xFF over the rest of bank 2.
TEST(SampleImage, ActorTablesPackedSortedAndInside)
{
    const RomOffset base = bankStart(kActorBank);
    int a = kActorAreaCpu;
    for (int sc = 0; sc < kSceneCount; ++sc) {
        const int c = byteAt(kItemCounts + sc);
        EXPECT_EQ(wordAt(kItemXPointers + 2 * sc), a) << "scene " << sc;
        EXPECT_EQ(wordAt(kItemYIdPointers + 2 * sc), a + c) << "scene " << sc;
        a += 2 * c;
    }
    for (int sc = 0; sc < kSceneCount; ++sc) {
        const int c = byteAt(kEnemyCounts + sc);
        EXPECT_EQ(wordAt(kEnemyBPointers + 2 * sc), a) << "scene " << sc;
        EXPECT_EQ(wordAt(kEnemyXYPointers + 2 * sc), a + c) << "scene " << sc;
        EXPECT_EQ(wordAt(kEnemyIdPointers + 2 * sc), a + 2 * c) << "scene " << sc;
        a += 3 * c;
    }
    const RomOffset end = (a & 0x3FFF) + base;
    EXPECT_TRUE(std::all_of(rom().begin() + end, rom().begin() + base + kBankSize,
                            [](std::uint8_t b) { return b == 0xFF; }));

    bool noItems = false;
    bool noEnemies = false;
    for (const SceneKey& key : catalogueScenes()) {
        SceneRecord s;
        ASSERT_TRUE(loadScene(rom(), key.stage, key.scene, s).ok());
        noItems = noItems || s.items.empty();
        noEnemies = noEnemies || s.enemies.empty();
        for (std::size_t i = 0; i < s.items.size(); ++i) {
            const ItemRecord& item = s.items[i];
            EXPECT_LT(item.x, (s.length + 1) * 16) << "scene " << int{key.scene};
            EXPECT_GE(item.y, 0x50) << "its picture would leave the top of the map";
            if (i > 0) {
                EXPECT_LE(s.items[i - 1].x, item.x) << "scene " << int{key.scene};
            }
        }
        for (std::size_t i = 0; i < s.enemies.size(); ++i) {
            const EnemyRecord& enemy = s.enemies[i];
            EXPECT_LE(enemy.b, s.length * 16 + 8) << "scene " << int{key.scene};
            EXPECT_LE(enemy.id, 40);
            EXPECT_GE(enemy.xy & 0xF0, 0x70) << "its picture would leave the top of the map";
            EXPECT_LE(enemy.xy & 0xF0, 0xB0) << "feet below the floor line";
            if (i > 0) {
                EXPECT_LE(s.enemies[i - 1].b, enemy.b) << "scene " << int{key.scene};
            }
        }
    }
    EXPECT_TRUE(noItems);
    EXPECT_TRUE(noEnemies);
}

}  // namespace
}  // namespace velmar
