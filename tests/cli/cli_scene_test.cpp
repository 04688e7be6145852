#include <gtest/gtest.h>

#include <utility>

#include "cli_test_util.h"

namespace velmar::test {
namespace {

TEST(CliSample, WritesTheSampleImage)
{
    TempDir dir;
    ASSERT_EQ(cli({"sample", dir.file("new.nes").string()}).code, 0);
    EXPECT_TRUE(sameBytes(readFile(dir.file("new.nes")), sampleFileText()));
    const CliRun noFolder = cli({"sample", dir.file("no/such/folder.nes").string()});
    EXPECT_EQ(noFolder.code, 1);
    EXPECT_TRUE(noFolder.err.starts_with("Unknown I/O error!\n")) << noFolder.err;
}

TEST(CliScenes, ListsTheSceneNodesInTreeOrder)
{
    CliFixtureDir dir;
    const CliRun run = cli({"scenes", dir.romArg()});
    ASSERT_EQ(run.code, 0) << run.err;
    const QJsonArray nodes = parseJson(run.out).array();
    ASSERT_EQ(nodes.size(), 32);
    qsizetype i = 0;
    for (const AreaNode& node : areaCatalogue()) {
        if (parseSceneKey(node.key)) {
            EXPECT_EQ(nodes[i++].toObject()["key"].toString().toStdString(), node.key);
        }
    }

    EXPECT_EQ(nodes[18].toObject(), (QJsonObject{{"key", "c:030A12"}, {"caption", "Stage 4-3"}, {"act", 3},
                                                  {"stage", 0x0A}, {"scene", 0x12}}));
}

// Every field of the record reaches the JSON under its own name, and nothing else does.
TEST(CliScene, PrintsEveryFieldOfTheRecord)
{
    CliFixtureDir dir;
    const std::string key = "c:02070C";
    const SceneRecord s = sampleScene(key);
    const QJsonObject o = sceneJsonOf(dir.romArg(), key);
    const std::vector<std::pair<const char*, int>> scalars = {
        {"stage", s.stage}, {"scene", s.scene}, {"length", s.length}, {"direction", s.direction},
        {"startX", s.startX}, {"startY", s.startY}, {"enemyCount", s.enemyCount}, {"itemCount", s.itemCount},
        {"reload", s.reload}, {"indicator", s.indicator}, {"time", s.time}, {"mapAddress", s.mapAddress},
        {"tileset", s.tileset}, {"subtileAddress", s.subtileAddress}, {"metatileAddress", s.metatileAddress},
        {"attributeAddress", s.attributeAddress}, {"bkgBank", s.bkgBank}, {"sprBank", s.sprBank},
        {"itemAnimation", s.itemAnimation}, {"itemXAddress", s.itemXAddress}, {"itemYIdAddress", s.itemYIdAddress},
        {"enemyBAddress", s.enemyBAddress}, {"enemyXYAddress", s.enemyXYAddress}, {"enemyIdAddress", s.enemyIdAddress},
    };
    for (const auto& [name, value] : scalars)
        EXPECT_EQ(o[name].toInt(-1), value) << name;
    EXPECT_EQ(o.size(), 29);
    EXPECT_EQ(intsOf(o["palSelectors"].toArray()), std::vector<int>(s.palSelectors.begin(), s.palSelectors.end()));
    EXPECT_EQ(intsOf(o["palette"].toArray()), std::vector<int>(s.palette.begin(), s.palette.end()));
    EXPECT_EQ(intsOf(o["map"].toArray()), std::vector<int>(s.map.begin(), s.map.end()));
    ASSERT_FALSE(s.items.empty());
    ASSERT_FALSE(s.enemies.empty());
    const ItemRecord item = s.items.back();
    const EnemyRecord enemy = s.enemies.back();
    EXPECT_EQ(o["items"].toArray().last(), (QJsonObject{{"x", item.x}, {"y", item.y}, {"id", item.id}}));
    EXPECT_EQ(o["enemies"].toArray().last(), (QJsonObject{{"b", enemy.b}, {"xy", enemy.xy}, {"id", enemy.id}}));
}

// Switching through scenes without editing them writes back exactly what was read.
TEST(CliRoundtrip, UnchangedSampleIsByteIdentical)
{
    CliFixtureDir dir;
    for (const std::vector<std::string>& keys : std::vector<std::vector<std::string>>{
             {},
             {"c:05152F", "c:000000", "c:05152F"},
             {"c:00152F"},  // the last stage and slot; not in the tree
         }) {
        SCOPED_TRACE(keys.size());
        std::vector<std::string> args = {"roundtrip", dir.romArg(), dir.arg("out.nes")};
        args.insert(args.end(), keys.begin(), keys.end());
        const CliRun run = cli(args);
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_TRUE(run.out.empty());
        EXPECT_TRUE(sameBytes(readFile(dir.file("out.nes")), sampleFileText()));
    }
    // The output may be the input itself.
    ASSERT_EQ(cli({"roundtrip", dir.romArg(), dir.romArg()}).code, 0);
    EXPECT_TRUE(sameBytes(readFile(dir.rom()), sampleFileText()));
}

// The identity above would also hold for a plain copy. A scene switch stores the scene, which
// puts its enemies in order: two swapped enemies come back in their place, only in that scene.
TEST(CliRoundtrip, StoresTheScenesItVisits)
{
    const SceneRecord s = sampleScene("c:000101");
    ASSERT_LT(s.enemies.at(0).b, s.enemies.at(1).b);
    std::string shuffled = sampleFileText();
    for (const RomOffset table : {s.enemyBAddress, s.enemyXYAddress, s.enemyIdAddress})
        std::swap(shuffled[static_cast<std::size_t>(16 + table)], shuffled[static_cast<std::size_t>(16 + table + 1)]);
    TempDir dir;
    writeFile(dir.file("shuffled.nes"), shuffled);
    for (const std::string key : {"c:000000", "c:000101"}) {
        ASSERT_EQ(cli({"roundtrip", dir.file("shuffled.nes").string(), dir.file("out.nes").string(), key}).code, 0);
        EXPECT_TRUE(sameBytes(readFile(dir.file("out.nes")), key == "c:000000" ? shuffled : sampleFileText())) << key;
    }
}

}  // namespace
}  // namespace velmar::test
