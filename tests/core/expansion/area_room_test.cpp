#include <gtest/gtest.h>

#include "core/text/text_image.h"
#include "expansion/actor_packer.h"
#include "expansion/area_room.h"
#include "expansion/map_packer.h"
#include "rom/area_catalogue.h"
#include "rom/scene_codec.h"
#include "support/test_support.h"
#include "text/text_codec.h"
#include "text/text_packer.h"

namespace velmar {
namespace {

// What the dialogs show before OK must agree with what OK then does.
TEST(AreaRoom, SaysWhetherAResizeFitsAsTheResizeFinds)
{
    const Bytes rom = test::sampleImage().romData;
    SceneRecord scene;
    ASSERT_TRUE(loadScene(rom, 2, 7, scene).ok() || loadScene(rom, 0, 0, scene).ok());
    const RomOffset actorEnd = actorAreaEnd(rom);
    // Scene after scene grows to 17 screens until the maps no longer fit.
    Bytes grown = rom;
    int refusals = 0;
    for (const AreaNode& node : areaCatalogue()) {
        const auto key = parseSceneKey(node.key);
        SceneRecord s;
        if (!key || !loadScene(grown, key->stage, key->scene, s).ok())
            continue;
        const auto room = mapAreaRoom(grown, s, 16);
        ASSERT_TRUE(room);
        const Outcome<ResizeResult> r = resizeMap(grown, s, 16, true);
        EXPECT_EQ(room->fits(), r.code != ResizeResult::NoSpace) << node.key << ": " << room->left();
        refusals += !room->fits();
    }
    EXPECT_GT(refusals, 0) << "the area fills up";
    for (int count : {0, 1, 40, 120, 255}) {
        const auto room = actorAreaRoom(rom, scene, count, scene.enemyCount, actorEnd);
        ASSERT_TRUE(room);
        Bytes work = rom;
        SceneRecord s = scene;
        EXPECT_EQ(room->fits(), resizeItems(work, s, count, actorEnd).code != ResizeResult::NoSpace) << count;
    }
    EXPECT_EQ(actorAreaRoom(rom, scene, scene.itemCount, scene.enemyCount, actorEnd)->used + 2 * 10,
              actorAreaRoom(rom, scene, scene.itemCount + 10, scene.enemyCount, actorEnd)->used);

    // Texts: the room used is what packing takes; a text that cannot be encoded says where.
    const CharTable table = test::defaultTable();
    TextList texts = decodeAllTexts(rom, table);
    ASSERT_TRUE(texts.status.ok());
    texts.texts[3] = std::string("A\xC3\xA9") + "B\\0";
    const TextRoom measured = measureTexts(rom, table, texts.texts, textAreaEnd(rom));
    EXPECT_EQ(measured.sizes[3], -1);
    EXPECT_EQ(measured.errors[3], "no code for \"\xC3\xA9\" (character 2)");
    texts.texts[3] = "AB\\0";
    const TextRoom fixed = measureTexts(rom, table, texts.texts, textAreaEnd(rom));
    EXPECT_EQ(fixed.sizes[3], 3);
    Bytes packed = rom;
    ASSERT_TRUE(packTexts(packed, table, texts.texts, textAreaEnd(rom)).ok());
    const RomOffset lastEnd = decodeText(packed, table, 112).end;
    EXPECT_EQ(fixed.room.used, lastEnd - rommap::kTextAreaStart);
}

}  // namespace
}  // namespace velmar
