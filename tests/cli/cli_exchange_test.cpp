#include <cstdlib>

#include "cli_test_util.h"

// Scenes out to scene files and Tiled maps and back in: what reaches the image file.
namespace velmar::test {
namespace {

const std::string kKey = "c:010202";  // three other scenes share its stage

// The scene's map and actors as `velmar-cli scene` prints them.
Json sceneContent(const std::string& rom, const std::string& key)
{
    const Json s = sceneJsonOf(rom, key);
    return {s["length"], s["direction"], s["startX"], s["startY"], s["map"], s["items"], s["enemies"]};
}

TEST(CliExchange, SceneFilesGoOutAndComeBackWhereTheyShould)
{
    CliFixtureDir dir;
    const std::string original = readFile(dir.rom());
    ASSERT_EQ(cli({"export-scene", dir.romArg(), kKey, dir.arg("scene.json")}).code, 0);
    ASSERT_EQ(cli({"import-scene", dir.romArg(), kKey, dir.arg("scene.json")}).code, 0);
    EXPECT_TRUE(sameBytes(readFile(dir.rom()), original)) << "a scene's own file changes no byte";

    // Into a slot of another stage: refused until told what to do with the stage's values.
    const CliRun asked = cli({"import-scene", dir.romArg(), "c:000101", dir.arg("scene.json")});
    EXPECT_EQ(asked.code, 1);
    EXPECT_NE(asked.err.find("--shared change"), std::string::npos) << asked.err;
    EXPECT_TRUE(sameBytes(readFile(dir.rom()), original));
    ASSERT_EQ(cli({"import-scene", dir.romArg(), "c:000101", dir.arg("scene.json"), "--shared", "keep"}).code, 0);
    EXPECT_EQ(sceneContent(dir.romArg(), "c:000101"), sceneContent(dir.romArg(), kKey));

    // A cell and an enemy changed by hand: row 1, column 2 of the map and the first enemy's b.
    Json file = Json::parse(readFile(dir.file("scene.json")));
    std::string row = file["map"][1];
    row.replace(6, 2, "7E");
    file["map"][1] = row;
    file["enemies"][0]["b"] = "00";
    file["enemies"][0]["type"] = "3D";
    writeFile(dir.file("edited.json"), file.dump(2));
    ASSERT_EQ(cli({"import-scene", dir.romArg(), kKey, dir.arg("edited.json")}).code, 0);
    const Json scene = sceneJsonOf(dir.romArg(), kKey);
    EXPECT_EQ(scene["map"][2 * 6 + 1], 0x7E);
    EXPECT_EQ(scene["enemies"][0]["b"], 0);
    EXPECT_EQ(scene["enemies"][0]["id"], 0x3D);

    // A broken file says where, and the image stays.
    const std::string before = readFile(dir.rom());
    file["enemies"][0]["b"] = "300";
    writeFile(dir.file("broken.json"), file.dump(2));
    const CliRun broken = cli({"import-scene", dir.romArg(), kKey, dir.arg("broken.json")});
    EXPECT_EQ(broken.code, 1);
    EXPECT_EQ(broken.err, "enemies[0].b: 300 is not 00 to FF\n");
    EXPECT_TRUE(sameBytes(readFile(dir.rom()), before));
}

// Tiled's own command line, or empty when it is not installed.
std::string tiledProgram()
{
    const char* path = std::getenv("PATH");
    std::string rest = path ? path : "";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::filesystem::path candidate = std::filesystem::path(rest.substr(0, colon)) / "tiled";
        if (std::filesystem::is_regular_file(candidate))
            return candidate.string();
        rest = colon == std::string::npos ? "" : rest.substr(colon + 1);
    }
    return {};
}

// Has Tiled read `in` and write it as `out` (the format by its name: .tmj or .tmx).
bool tiledConverts(const std::string& tiled, const std::filesystem::path& in, const std::filesystem::path& out)
{
    const std::string format = out.extension() == ".tmx" ? "tmx" : "json";
    const std::string command = "QT_QPA_PLATFORM=offscreen '" + tiled + "' --export-map " + format + " '"
                                + in.string() + "' '" + out.string() + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 && std::filesystem::exists(out);
}

TEST(CliExchange, TiledReadsAndWritesTheMapAndItsEditsComeBack)
{
    const std::string tiled = tiledProgram();
    if (tiled.empty())
        GTEST_SKIP() << "Tiled is not installed (apt-get install tiled)";
    CliFixtureDir dir;
    const std::string original = readFile(dir.rom());
    ASSERT_EQ(cli({"export-tiled", dir.romArg(), kKey, dir.arg("level.tmj")}).code, 0);
    EXPECT_TRUE(std::filesystem::exists(dir.file("level-metatiles.png")));

    // Tiled's own files, straight and through its XML format, bring back the same image.
    ASSERT_TRUE(tiledConverts(tiled, dir.file("level.tmj"), dir.file("tiled.tmj")));
    ASSERT_TRUE(tiledConverts(tiled, dir.file("level.tmj"), dir.file("tiled.tmx")));
    ASSERT_TRUE(tiledConverts(tiled, dir.file("tiled.tmx"), dir.file("back.tmj")));
    for (const char* name : {"level.tmj", "tiled.tmj", "back.tmj"}) {
        const CliRun run = cli({"import-tiled", dir.romArg(), kKey, dir.arg(name)});
        EXPECT_EQ(run.code, 0) << name << ": " << run.err;
        EXPECT_TRUE(sameBytes(readFile(dir.rom()), original)) << name;
    }

    // Edits in Tiled's file: a cell, an enemy moved two columns right and one row down (by
    // pixels that round to them), an item removed.
    const Json before = sceneJsonOf(dir.romArg(), kKey);
    Json map = Json::parse(readFile(dir.file("tiled.tmj")));
    Json& layer = map["layers"][0]["type"] == "tilelayer" ? map["layers"][0] : map["layers"][1];
    Json& objects = (map["layers"][0]["type"] == "tilelayer" ? map["layers"][1] : map["layers"][0])["objects"];
    const int width = layer["width"];
    layer["data"][2 * width + 9] = 0x41 + 1;  // row 2, column 9: screen 1, column 1
    // An enemy whose column inside its screen has room for two more.
    Json* enemy = nullptr;
    for (Json& o : objects) {
        if (o["type"] != "enemy" || enemy)
            continue;
        for (const Json& p : o["properties"]) {
            if (p["name"] == "b" && (o["x"].get<int>() - 16 * std::stoi(p["value"].get<std::string>(), nullptr, 16)) / 16 < 14)
                enemy = &o;
        }
    }
    ASSERT_NE(enemy, nullptr);
    const int enemyX = (*enemy)["x"];
    const int enemyY = (*enemy)["y"];
    const int row = ((enemyY + 16 + 54) & 0xFF) >> 4;  // the bottom edge stands at row * 16 - 54
    (*enemy)["x"] = enemyX + 30;
    (*enemy)["y"] = enemyY + 17;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        if (objects[i]["type"] == "item") {
            objects.erase(i);
            break;
        }
    }
    writeFile(dir.file("edited.tmj"), map.dump());
    const CliRun run = cli({"import-tiled", dir.romArg(), kKey, dir.arg("edited.tmj")});
    ASSERT_EQ(run.code, 0) << run.err;
    const Json after = sceneJsonOf(dir.romArg(), kKey);
    EXPECT_EQ(after["map"][48 + 6 + 2], 0x41);
    EXPECT_EQ(after["itemCount"], before["itemCount"].get<int>() - 1);
    bool moved = false;
    for (const Json& e : after["enemies"]) {
        const int xy = e["xy"];
        moved = moved || (e["b"].get<int>() * 16 + (xy & 15) * 16 == enemyX + 32 && (xy >> 4) == ((row + 1) & 15));
    }
    EXPECT_TRUE(moved) << after["enemies"].dump();
}

}  // namespace
}  // namespace velmar::test
