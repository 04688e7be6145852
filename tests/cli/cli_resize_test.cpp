#include <gtest/gtest.h>

#include <cstdlib>

#include "cli_test_util.h"
#include "expansion/actor_packer.h"
#include "expansion/map_packer.h"
#include "rom/area_catalogue.h"
#include "rom/hex.h"
#include "rom/scene_codec.h"

namespace velmar::test {
namespace {

std::vector<std::string> catalogueSceneKeys()
{
    std::vector<std::string> keys;
    for (const AreaNode& node : areaCatalogue()) {
        if (parseSceneKey(node.key))
            keys.emplace_back(node.key);
    }
    return keys;
}

SceneRecord sampleScene(const std::string& key)
{
    const SceneKey k = *parseSceneKey(key);
    SceneRecord s;
    EXPECT_TRUE(loadScene(sampleImage().romData, k.stage, k.scene, s).ok()) << key;
    return s;
}

// The first scene of the tree for which `fits` holds.
template <typename Predicate>
std::string firstSceneWhere(Predicate fits)
{
    for (const std::string& key : catalogueSceneKeys()) {
        if (fits(sampleScene(key)))
            return key;
    }
    return {};
}

std::vector<int> mapOf(const QJsonObject& scene)
{
    return intsOf(scene["map"].toArray());
}

// Growing and shrinking at either end, written in place; a later read shows the new map, and
// every other scene keeps its map wherever it was moved to.
TEST(CliResizeMap, ResizesInPlace)
{
    const std::string key = firstSceneWhere([](const SceneRecord& s) { return s.length >= 1 && s.length <= 14; });
    ASSERT_FALSE(key.empty());
    struct Case {
        int delta;
        bool left;
    };
    for (const Case c : {Case{1, false}, Case{1, true}, Case{2, false}, Case{-1, false}, Case{-1, true}}) {
        SCOPED_TRACE(std::to_string(c.delta) + (c.left ? " left" : " right"));
        CliFixtureDir dir;
        const SceneRecord before = sampleScene(key);
        const int newLength = before.length + c.delta;

        std::vector<std::string> args = {"resize-map", dir.romArg(), key, hexPad(newLength, 2)};
        if (c.left)
            args.emplace_back("--left");
        const CliRun run = cli(args);
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.out, "Map size changed successfully!\n");
        EXPECT_TRUE(run.err.empty());

        const QJsonObject after = sceneJsonOf(dir.romArg(), key);
        EXPECT_EQ(after["length"].toInt(), newLength);
        EXPECT_EQ(after["direction"].toInt(), before.direction);
        const std::vector<int> oldMap(before.map.begin(), before.map.end());
        const auto moved = static_cast<std::ptrdiff_t>(48 * std::abs(c.delta));
        std::vector<int> expected;
        if (c.delta > 0 && !c.left) {
            expected = oldMap;
            expected.insert(expected.end(), static_cast<std::size_t>(moved), 0xFF);
        } else if (c.delta > 0) {
            expected.assign(static_cast<std::size_t>(moved), 0xFF);
            expected.insert(expected.end(), oldMap.begin(), oldMap.end());
        } else if (!c.left) {
            expected.assign(oldMap.begin(), oldMap.end() - moved);
        } else {
            expected.assign(oldMap.begin() + moved, oldMap.end());
        }
        EXPECT_EQ(mapOf(after), expected);

        for (const std::string& other : catalogueSceneKeys()) {
            if (other == key)
                continue;
            const SceneRecord was = sampleScene(other);
            EXPECT_EQ(mapOf(sceneJsonOf(dir.romArg(), other)), std::vector<int>(was.map.begin(), was.map.end()))
                << other;
        }
    }
}

// Lengths that change nothing or are refused: the file stays byte-identical.
TEST(CliResizeMap, RefusalsAndNoChangeLeaveTheFile)
{
    const std::string key = "c:000000";
    const SceneRecord scene = sampleScene(key);
    struct Case {
        std::string length;
        int code;
        std::string out;
        std::string err;
    };
    const std::vector<Case> cases = {
        {hexPad(scene.length, 2), 0, "", ""},
        {hexPad(scene.length, 1) + "zz", 0, "", ""},  // only the leading digits count
        {"11", 1, "", "Invalid dimensions! (max=$10)\n"},
        {"FFFFFFFFFFFF", 1, "", "Invalid dimensions! (max=$10)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        CliFixtureDir dir;
        const CliRun run = cli({"resize-map", dir.romArg(), key, c.length});
        EXPECT_EQ(run.code, c.code);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
        EXPECT_TRUE(sameBytes(readFile(dir.rom()), sampleFileText()));
    }
}

// Growing one scene after another to 17 screens fills the map area; the resize that no longer
// fits is refused with the program's message and writes nothing.
TEST(CliResizeMap, FullMapAreaIsRefused)
{
    CliFixtureDir dir;
    bool refused = false;
    for (const std::string& key : catalogueSceneKeys()) {
        const std::string before = readFile(dir.rom());
        const CliRun run = cli({"resize-map", dir.romArg(), key, "10"});
        if (run.code == 0)
            continue;
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.err, "Map data exceeds available space!\n");
        EXPECT_TRUE(run.out.empty());
        EXPECT_TRUE(sameBytes(readFile(dir.rom()), before));
        refused = true;
        break;
    }
    EXPECT_TRUE(refused) << "32 scenes of 816 bytes cannot all fit";
}

struct ActorCommand {
    const char* name;
    const char* countField;
    const char* listField;
    std::vector<const char*> fields;
    std::vector<int> newRecord;
    std::string (*message)(ResizeResult, const RomStatus&);
};

const std::vector<ActorCommand>& actorCommands()
{
    static const std::vector<ActorCommand> commands = {
        {"resize-items", "itemCount", "items", {"x", "y", "id"}, {kNewItem.x, kNewItem.y, kNewItem.id},
         resizeItemsMessage},
        {"resize-enemies", "enemyCount", "enemies", {"b", "xy", "id"},
         {kNewEnemy.b, kNewEnemy.xy, kNewEnemy.id}, resizeEnemiesMessage},
    };
    return commands;
}

std::vector<std::vector<int>> recordsOf(const QJsonObject& scene, const ActorCommand& command)
{
    std::vector<std::vector<int>> out;
    for (const auto& value : scene[command.listField].toArray()) {
        std::vector<int> record;
        for (const char* field : command.fields)
            record.push_back(value.toObject()[field].toInt(-1));
        out.push_back(record);
    }
    return out;
}

// Raising a count appends default records, lowering it drops the last ones, 0 empties the list;
// the other scenes keep their actors.
TEST(CliResizeActors, ChangesTheCountInPlace)
{
    const std::string key = "c:000101";
    for (const ActorCommand& command : actorCommands()) {
        for (const int delta : {2, -1, -1000}) {
            SCOPED_TRACE(std::string(command.name) + " " + std::to_string(delta));
            CliFixtureDir dir;
            writeFile(dir.file("pristine.nes"), sampleFileText());
            const QJsonObject before = sceneJsonOf(dir.romArg(), key);
            const int count = before[command.countField].toInt();
            const int newCount = std::max(0, count + delta);
            if (newCount == count)
                continue;

            const CliRun run = cli({command.name, dir.romArg(), key, hexPad(newCount, 2)});
            ASSERT_EQ(run.code, 0) << run.err;
            EXPECT_EQ(run.out, command.message(ResizeResult::Changed, {}) + "\n");

            const QJsonObject after = sceneJsonOf(dir.romArg(), key);
            EXPECT_EQ(after[command.countField].toInt(), newCount);
            std::vector<std::vector<int>> expected = recordsOf(before, command);
            expected.resize(static_cast<std::size_t>(newCount), command.newRecord);
            EXPECT_EQ(recordsOf(after, command), expected);

            for (const std::string& other : catalogueSceneKeys()) {
                if (other == key)
                    continue;
                const QJsonObject was = sceneJsonOf(dir.arg("pristine.nes"), other);
                EXPECT_EQ(recordsOf(sceneJsonOf(dir.romArg(), other), command), recordsOf(was, command)) << other;
            }
        }
    }
}

// Counts that change nothing or are refused leave the file byte-identical.
TEST(CliResizeActors, RefusalsAndNoChangeLeaveTheFile)
{
    const std::string key = "c:000101";
    const SceneRecord scene = sampleScene(key);
    for (const ActorCommand& command : actorCommands()) {
        const int count = std::string(command.name) == "resize-items" ? scene.itemCount : scene.enemyCount;
        const std::string invalid = command.message(ResizeResult::InvalidSize, {}) + "\n";
        struct Case {
            std::string count;
            int code;
            std::string err;
        };
        const std::vector<Case> cases = {
            {hexPad(count, 2), 0, ""},
            {"100", 1, invalid},
            {"FFFFFFFFFF", 1, invalid},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(command.name) + " " + c.count);
            CliFixtureDir dir;
            const CliRun run = cli({command.name, dir.romArg(), key, c.count});
            EXPECT_EQ(run.code, c.code);
            EXPECT_TRUE(run.out.empty());
            EXPECT_EQ(run.err, c.err);
            EXPECT_TRUE(sameBytes(readFile(dir.rom()), sampleFileText()));
        }
    }
}

// Raising counts to 255 scene after scene fills the actor area; the resize that no longer fits is
// refused with the program's message and writes nothing.
TEST(CliResizeActors, FullActorAreaIsRefused)
{
    for (const ActorCommand& command : actorCommands()) {
        SCOPED_TRACE(command.name);
        CliFixtureDir dir;
        bool refused = false;
        for (const std::string& key : catalogueSceneKeys()) {
            const std::string before = readFile(dir.rom());
            const CliRun run = cli({command.name, dir.romArg(), key, "FF"});
            if (run.code == 0)
                continue;
            EXPECT_EQ(run.code, 1);
            EXPECT_EQ(run.err, command.message(ResizeResult::NoSpace, {}) + "\n");
            EXPECT_TRUE(sameBytes(readFile(dir.rom()), before));
            refused = true;
            break;
        }
        EXPECT_TRUE(refused) << "bank 2 cannot hold 255 actors for every scene";
    }
}

}  // namespace
}  // namespace velmar::test
