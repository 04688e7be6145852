#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include <nlohmann/json.hpp>

#include "exchange/tiled_map.h"
#include "core/sample_document.h"

namespace velmar {
namespace {

using Json = nlohmann::json;

// A Tiled map read back, moved objects by the drag rules, and what the game cannot hold refused
// with where it is. (Tiled itself reads and writes these maps in the velmar-cli tests.)
TEST(TiledMap, ObjectsMoveByTheDragRulesAndWhatTheGameCannotHoldIsRefused)
{
    SceneDescription d = describeScene(test::SampleDocument(SceneKey{1, 2, 2}).scene());
    d.property(SceneProperty::Direction) = 0x80;
    d.enemies = {{0x04, 0x5E, 0x21}};  // row 5, column E of the screen from column 04
    d.items = {{0x30, 0xF0, 0x07}};
    const Json map = Json::parse(writeTiledMap(d, "level-metatiles.png"));
    SceneDescription read;
    ASSERT_TRUE(readTiledMap(map.dump(), read).ok());
    EXPECT_EQ(read, d);

    const auto edited = [&](const std::function<void(Json&)>& edit) {
        Json m = map;
        edit(m);
        SceneDescription out;
        const auto r = readTiledMap(m.dump(), out);
        EXPECT_EQ(r.ok(), r.reason.empty()) << r.reason;
        return std::pair{r.reason, out};
    };
    // Objects: 0 the start, 1 the enemy, 2 the item. Places round to the nearest column and row.
    EXPECT_EQ(edited([](Json& m) { m["layers"][1]["objects"].erase(0); }).first,
              "the map: it has no object of class start (the player start)");
    const SceneDescription kept =
        edited([](Json& m) {
            Json& o = m["layers"][1]["objects"];
            o[0]["x"] = o[0]["x"].get<int>() - 300;  // before the last screen, where it counts from: 0
            o[1]["x"] = o[1]["x"].get<int>() - 20;   // 1.25 columns left: column E - 1 = D
            o[1]["y"] = o[1]["y"].get<int>() - 90;   // 5.6 rows up: row 5 - 6 wraps to F
            o[2]["y"] = o[2]["y"].get<int>() + 30;   // 1.9 rows down: row F + 2 wraps to 1
            o.push_back(o[2]);                       // an item more
        }).second;
    EXPECT_EQ(kept.startX, 0);
    EXPECT_EQ(kept.enemies, (std::vector<EnemyRecord>{{0x04, 0xFD, 0x21}}));
    EXPECT_EQ(kept.items, (std::vector<ItemRecord>{{0x30, 0x10, 0x07}, {0x30, 0x10, 0x07}}));

    const struct {
        std::function<void(Json&)> edit;
        const char* reason;
    } refusals[] = {
        {[](Json& m) { m["layers"][0]["data"][9] = 0; },
         "map cell (column 9, row 0): no tile; every cell holds a metatile"},
        {[](Json& m) { m["layers"][0]["data"][0] = 0x80000001u; },
         "map cell (column 0, row 0): tile 2147483649 is not a metatile (flipped, or of another tileset)"},
        {[](Json& m) { m["layers"][1]["objects"][1]["properties"][0]["value"] = "300"; },
         "object 1 (id 2), property b: 300 is not 00 to FF"},
        {[](Json& m) { m["layers"][1]["objects"][2]["properties"][0]["value"] = 16; },
         "object 2 (id 3), property type: 16 is not 0 to 15"},
        {[](Json& m) { m["layers"][1]["objects"][2]["properties"][0]["value"] = 18446744073709551615u; },
         "object 2 (id 3), property type: 18446744073709551615 is not 0 to 15"},
        {[](Json& m) { m["layers"][1]["objects"][2]["properties"][0]["value"] = -1; },
         "object 2 (id 3), property type: -1 is not 0 to 15"},
        {[](Json& m) { m["layers"][1]["objects"][2]["type"] = "tree"; },
         "object 2 (id 3): its class \"tree\" is not enemy, item or start"},
        {[](Json& m) { m["properties"][1]["value"] = "10"; }, "the map, property sprBank: 10 is not 0 to F"},
        {[](Json& m) {
             m["width"] = 12;
             m["layers"][0]["width"] = 12;
         },
         "the tile layer: 12 columns: a scene is 1 to 17 screens of 8"},
        {[](Json& m) { m["layers"][0]["encoding"] = "base64"; },
         "the tile layer: store the layer as CSV (Map Properties, Tile Layer Format) to import it"},
    };
    for (const auto& c : refusals)
        EXPECT_EQ(edited(c.edit).first, c.reason);
}

#ifndef _WIN32
// The map is the user's file, written through a link the user made; the tileset's name is the
// program's, and whatever stands there but a plain file is refused before either is written.
TEST(TiledMap, TheTilesetIsWrittenAsTheProgramsOwnFile)
{
    namespace fs = std::filesystem;
    test::SampleDocument sample(SceneKey{1, 2, 2});
    Document& doc = sample.doc;
    test::TempDir dir;
    const fs::path tileset = dir.file("level-metatiles.png");
    const std::string map = pathToUtf8(dir.file("level.tmj"));
    test::writeFile(dir.file("mine.png"), "mine");
    fs::create_symlink(dir.file("mine.png"), tileset);
    EXPECT_EQ(exportTiled(doc, map).reason,
              "Unknown I/O error!\n" + pathToUtf8(tileset)
                  + ": A link stands where this file goes; it was not followed, and nothing was written");
    fs::remove(tileset);
    fs::create_directory(tileset);
    EXPECT_EQ(exportTiled(doc, map).reason,
              "Unknown I/O error!\n" + pathToUtf8(tileset)
                  + ": Something that is not a plain file stands where this file goes; nothing was written");
    EXPECT_TRUE(test::readFile(dir.file("mine.png")) == "mine");
    EXPECT_FALSE(fs::exists(map));

    fs::remove(tileset);
    test::writeFile(dir.file("mine.tmj"), "");
    fs::create_symlink(dir.file("mine.tmj"), map);
    ASSERT_TRUE(exportTiled(doc, map).ok());
    EXPECT_TRUE(fs::is_symlink(map));
    EXPECT_NE(test::readFile(dir.file("mine.tmj")), "");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(tileset)));
}
#endif

}  // namespace
}  // namespace velmar
