#include <cstdlib>

#include "cli_test_util.h"

// Scenes out to scene files and Tiled maps and back in: what reaches the image file.
namespace velmar::test {
namespace {

const std::string kKey = "c:010202";  // three other scenes share its stage

TEST(CliExchange, SceneFilesGoOutAndComeBackWhereTheyShould)
{
    CliFixtureDir dir;
    const std::string original = readFile(dir.rom());
    ASSERT_EQ(cli({"export-scene", dir.romArg(), kKey, dir.arg("scene.json")}).code, 0);

    // Into a slot of another stage: refused until told what to do with the stage's values.
    const CliRun asked = cli({"import-scene", dir.romArg(), "c:000101", dir.arg("scene.json")});
    EXPECT_EQ(asked.code, 1);
    EXPECT_NE(asked.err.find("--shared change"), std::string::npos) << asked.err;
    EXPECT_TRUE(sameBytes(readFile(dir.rom()), original));
    ASSERT_EQ(cli({"import-scene", dir.romArg(), "c:000101", dir.arg("scene.json"), "--shared", "keep"}).code, 0);
    EXPECT_NE(readFile(dir.rom()), original) << "the scene came in";

    // A broken file says where, and the image stays. (Where an edit lands is the core's business.)
    const std::string before = readFile(dir.rom());
    Json file = Json::parse(readFile(dir.file("scene.json")));
    file["enemies"][0]["b"] = "300";
    writeFile(dir.file("broken.json"), file.dump(2));
    const CliRun broken = cli({"import-scene", dir.romArg(), kKey, dir.arg("broken.json")});
    EXPECT_EQ(broken.code, 1);
    EXPECT_EQ(broken.err, "enemies[0].b: 300 is not 00 to FF\n");
    EXPECT_TRUE(sameBytes(readFile(dir.rom()), before));
}

#ifndef _WIN32
// Tiled itself, which scripts/install-deps.sh installs (the Windows build's tests under Wine
// have none).

// Has Tiled read `in` and write it as `out` (the format by its name: .tmj or .tmx).
bool tiledConverts(const std::filesystem::path& in, const std::filesystem::path& out)
{
    const std::string format = out.extension() == ".tmx" ? "tmx" : "json";
    const std::string command = "QT_QPA_PLATFORM=offscreen tiled --export-map " + format + " '" + in.string() + "' '"
        + out.string() + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 && std::filesystem::exists(out);
}

TEST(CliExchange, TiledReadsAndWritesTheMapAndItsEditsComeBack)
{
    ASSERT_EQ(std::system("command -v tiled >/dev/null 2>&1"), 0)
        << "Tiled is not installed: scripts/install-deps.sh installs it (apt-get install tiled)";
    CliFixtureDir dir;
    const std::string original = readFile(dir.rom());
    ASSERT_EQ(cli({"export-tiled", dir.romArg(), kKey, dir.arg("level.tmj")}).code, 0);
    EXPECT_TRUE(std::filesystem::exists(dir.file("level-metatiles.png")));

    // Tiled's own files, straight and through its XML format, bring back the same image.
    ASSERT_TRUE(tiledConverts(dir.file("level.tmj"), dir.file("tiled.tmj")));
    ASSERT_TRUE(tiledConverts(dir.file("level.tmj"), dir.file("tiled.tmx")));
    ASSERT_TRUE(tiledConverts(dir.file("tiled.tmx"), dir.file("back.tmj")));
    for (const char* name : {"level.tmj", "tiled.tmj", "back.tmj"}) {
        const CliRun run = cli({"import-tiled", dir.romArg(), kKey, dir.arg(name)});
        EXPECT_EQ(run.code, 0) << name << ": " << run.err;
        EXPECT_TRUE(sameBytes(readFile(dir.rom()), original)) << name;
    }

    // A cell edited in Tiled's file comes back. (How objects move and what is refused: the core's tests.)
    Json map = Json::parse(readFile(dir.file("tiled.tmj")));
    Json& layer = map["layers"][map["layers"][0]["type"] == "tilelayer" ? 0 : 1];
    layer["data"][2 * layer["width"].get<int>() + 9] = 0x41 + 1;  // row 2, column 9: screen 1, column 1
    writeFile(dir.file("edited.tmj"), map.dump());
    const CliRun run = cli({"import-tiled", dir.romArg(), kKey, dir.arg("edited.tmj")});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(sceneJsonOf(dir.romArg(), kKey)["map"][48 + 6 + 2], 0x41);
}
#endif

}  // namespace
}  // namespace velmar::test
