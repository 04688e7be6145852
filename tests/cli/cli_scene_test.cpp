#include <gtest/gtest.h>

#include <utility>

#include "cli_test_util.h"
#include "rom/area_catalogue.h"
#include "rom/scene_codec.h"
#include "sample/sample_rom.h"

namespace velmar::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> catalogueSceneKeys()
{
    std::vector<std::string> keys;
    for (const AreaNode& node : areaCatalogue()) {
        if (parseSceneKey(node.key))
            keys.emplace_back(node.key);
    }
    return keys;
}

TEST(CliSample, WritesTheSampleImage)
{
    TempDir dir;
    const fs::path out = dir.file("new.nes");
    ASSERT_EQ(cli({"sample", out.string()}).code, 0);
    EXPECT_TRUE(sameBytes(readFile(out), asText(buildSampleRom().fileBytes())));

    // An existing file is replaced whole, not patched.
    writeFile(out, std::string(300000, 'x'));
    ASSERT_EQ(cli({"sample", out.string()}).code, 0);
    EXPECT_TRUE(sameBytes(readFile(out), sampleFileText()));

    const CliRun noFolder = cli({"sample", dir.file("no/such/folder.nes").string()});
    EXPECT_EQ(noFolder.code, 1);
    EXPECT_EQ(noFolder.err, "Unknown I/O error!\n");
    EXPECT_FALSE(fs::exists(dir.file("no")));
}

TEST(CliScenes, ListsTheSceneNodesInTreeOrder)
{
    CliFixtureDir dir;
    const CliRun run = cli({"scenes", dir.romArg()});
    ASSERT_EQ(run.code, 0) << run.err;
    const QJsonArray nodes = parseJson(run.out).array();
    const std::vector<std::string> keys = catalogueSceneKeys();
    ASSERT_EQ(nodes.size(), 32);
    ASSERT_EQ(keys.size(), 32u);

    struct Expected {
        int index;
        const char* key;
        const char* caption;
        int act, stage, scene;
    };
    for (const Expected& e : {Expected{0, "c:000000", "Stage 1-1", 0, 0, 0},
                              Expected{7, "c:010307", "Stage 2-2", 1, 3, 7},
                              Expected{18, "c:030A12", "Stage 4-3", 3, 0x0A, 0x12},
                              Expected{25, "c:040F22", "Stage 5-4", 4, 0x0F, 0x22},
                              Expected{31, "c:05152F", "Stage 6-5", 5, 0x15, 0x2F}}) {
        SCOPED_TRACE(e.key);
        const QJsonObject node = nodes[e.index].toObject();
        EXPECT_EQ(node["key"].toString().toStdString(), e.key);
        EXPECT_EQ(node["caption"].toString().toStdString(), e.caption);
        EXPECT_EQ(node["act"].toInt(-1), e.act);
        EXPECT_EQ(node["stage"].toInt(-1), e.stage);
        EXPECT_EQ(node["scene"].toInt(-1), e.scene);
    }
    for (qsizetype i = 0; i < nodes.size(); ++i)
        EXPECT_EQ(nodes[i].toObject()["key"].toString().toStdString(), keys[static_cast<std::size_t>(i)]);
}

// Every field of the record reaches the JSON under its own name, for every scene of the tree.
TEST(CliScene, PrintsEveryFieldOfTheRecord)
{
    CliFixtureDir dir;
    for (const std::string& key : catalogueSceneKeys()) {
        SCOPED_TRACE(key);
        const SceneKey k = *parseSceneKey(key);
        SceneRecord s;
        ASSERT_TRUE(loadScene(sampleImage().romData, k.stage, k.scene, s).ok());
        const CliRun run = cli({"scene", dir.romArg(), key});
        ASSERT_EQ(run.code, 0) << run.err;
        ASSERT_EQ(run.out.back(), '\n');
        const QJsonObject o = parseJson(run.out).object();

        const std::vector<std::pair<const char*, int>> scalars = {
            {"stage", s.stage}, {"scene", s.scene}, {"length", s.length},
            {"direction", s.direction}, {"startX", s.startX}, {"startY", s.startY},
            {"enemyCount", s.enemyCount}, {"itemCount", s.itemCount}, {"reload", s.reload},
            {"indicator", s.indicator}, {"time", s.time}, {"mapAddress", s.mapAddress},
            {"tileset", s.tileset}, {"subtileAddress", s.subtileAddress},
            {"metatileAddress", s.metatileAddress}, {"attributeAddress", s.attributeAddress},
            {"bkgBank", s.bkgBank}, {"sprBank", s.sprBank}, {"itemAnimation", s.itemAnimation},
            {"itemXAddress", s.itemXAddress}, {"itemYIdAddress", s.itemYIdAddress},
            {"enemyBAddress", s.enemyBAddress}, {"enemyXYAddress", s.enemyXYAddress},
            {"enemyIdAddress", s.enemyIdAddress},
        };
        for (const auto& [name, value] : scalars) {
            ASSERT_TRUE(o[name].isDouble()) << name;
            EXPECT_EQ(o[name].toInt(-1), value) << name;
        }
        EXPECT_EQ(intsOf(o["palSelectors"].toArray()),
                  std::vector<int>(s.palSelectors.begin(), s.palSelectors.end()));
        EXPECT_EQ(intsOf(o["palette"].toArray()), std::vector<int>(s.palette.begin(), s.palette.end()));
        EXPECT_EQ(intsOf(o["map"].toArray()), std::vector<int>(s.map.begin(), s.map.end()));

        const QJsonArray items = o["items"].toArray();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(s.items.size()));
        for (std::size_t i = 0; i < s.items.size(); ++i) {
            const QJsonObject item = items[static_cast<qsizetype>(i)].toObject();
            EXPECT_EQ(item["x"].toInt(-1), s.items[i].x);
            EXPECT_EQ(item["y"].toInt(-1), s.items[i].y);
            EXPECT_EQ(item["id"].toInt(-1), s.items[i].id);
        }
        const QJsonArray enemies = o["enemies"].toArray();
        ASSERT_EQ(enemies.size(), static_cast<qsizetype>(s.enemies.size()));
        for (std::size_t i = 0; i < s.enemies.size(); ++i) {
            const QJsonObject enemy = enemies[static_cast<qsizetype>(i)].toObject();
            EXPECT_EQ(enemy["b"].toInt(-1), s.enemies[i].b);
            EXPECT_EQ(enemy["xy"].toInt(-1), s.enemies[i].xy);
            EXPECT_EQ(enemy["id"].toInt(-1), s.enemies[i].id);
        }
        EXPECT_EQ(o.size(), 29);  // nothing more, nothing less
    }
}

// Switching through scenes without editing them writes back exactly what was read.
TEST(CliRoundtrip, UnchangedSampleIsByteIdentical)
{
    CliFixtureDir dir;
    const std::vector<std::vector<std::string>> keyLists = {
        {},
        {"c:000000"},
        {"c:05152F", "c:000000", "c:05152F"},
        {"c:001500"},  // not in the tree
    };
    for (const auto& keys : keyLists) {
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

// A scene switch stores the scene, which puts its enemies in order: two swapped enemies come
// back in their place.
TEST(CliRoundtrip, StoresTheScenesItVisits)
{
    const Bytes& rom = sampleImage().romData;
    std::string key;
    SceneRecord s;
    for (const std::string& candidate : catalogueSceneKeys()) {
        const SceneKey k = *parseSceneKey(candidate);
        if (loadScene(rom, k.stage, k.scene, s).ok() && s.enemies.size() >= 2
            && s.enemies[0].b < s.enemies[1].b) {
            key = candidate;
            break;
        }
    }
    if (key.empty())
        GTEST_SKIP() << "the sample has no scene with two enemies of different b";

    std::string shuffled = sampleFileText();
    for (const RomOffset table : {s.enemyBAddress, s.enemyXYAddress, s.enemyIdAddress})
        std::swap(shuffled[static_cast<std::size_t>(16 + table)], shuffled[static_cast<std::size_t>(16 + table + 1)]);
    TempDir dir;
    writeFile(dir.file("shuffled.nes"), shuffled);

    ASSERT_EQ(cli({"roundtrip", dir.file("shuffled.nes").string(), dir.file("a.nes").string(), "c:000000"}).code, 0);
    ASSERT_EQ(cli({"roundtrip", dir.file("shuffled.nes").string(), dir.file("b.nes").string(), key}).code, 0);
    if (key != "c:000000") {
        EXPECT_TRUE(sameBytes(readFile(dir.file("a.nes")), shuffled));
    }
    EXPECT_TRUE(sameBytes(readFile(dir.file("b.nes")), sampleFileText()));
}

}  // namespace
}  // namespace velmar::test
