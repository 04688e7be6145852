#include <gtest/gtest.h>

#include "base/hex.h"
#include "core/text/text_image.h"
#include "editor/edits.h"
#include "exchange/rom_folder.h"
#include "exchange/scene_file.h"
#include "exchange/tiled_map.h"
#include "core/sample_document.h"

// Scene files, Tiled maps and the folder put actors where they say, but never past the end of
// the map without a word: such a file is refused with the limit, and nothing changes.
namespace velmar {
namespace {

// A scene of four screens: columns 00 to 3F.
constexpr SceneKey kFourScreens{3, 0x0A, 0x11};

struct Fixture : test::SampleDocument {
    Fixture() : SampleDocument(kFourScreens) { EXPECT_EQ(scene().length, 3); }
};

TEST(ActorsPastTheEnd, SceneFilesAndTiledMapsAreRefusedWithTheLimit)
{
    Fixture f;
    const Bytes loaded = f.doc.romData();
    const SceneDescription scene = describeScene(f.doc.currentScene());
    const std::string itemFF = "Item " + hexPad(static_cast<std::int64_t>(scene.items.size()), 2)
        + " (counted from 00 in the file's order) lies past the map's end. The item would stand in column FF (X "
          "FF), past the map's end: a map of 4 screens ends with column 3F.";

    // An item at X FF, as a file written by hand may put it.
    SceneDescription d = scene;
    d.items.push_back({0xFF, 0x40, 1});
    const Outcome<SceneImportResult> file = importSceneFile(f.doc, writeSceneFile(d), SharedValues::Change);
    EXPECT_EQ(file.code, SceneImportResult::Refused);
    EXPECT_EQ(file.reason, itemFF);
    // Tiled keeps an item's column from its place on the map.
    const Outcome<SceneImportResult> tiled = importTiledMap(f.doc, writeTiledMap(d, "x.png"), SharedValues::Change);
    EXPECT_EQ(tiled.code, SceneImportResult::Refused);
    EXPECT_EQ(tiled.reason, itemFF);
    // A shorter map in the file leaves its enemies past the end just the same.
    d = scene;
    d.length = 0;
    d.map.resize(48);
    d.enemies = {{0x0A, 0x46, 0}};
    EXPECT_NE(importScene(f.doc, d, SharedValues::Change).reason.find("a map of 1 screen ends with column 0F"),
              std::string::npos);
    EXPECT_EQ(f.doc.romData(), loaded);
    EXPECT_EQ(f.doc.history().size(), 0u);
}

TEST(ActorsPastTheEnd, ActorsKeptThereComeBackAndTheFolderKeepsThem)
{
    Fixture f;
    // Two screens, the actors past them kept.
    ASSERT_TRUE(edits::resizeMap(f.doc, 1, true, edits::ActorsPastEnd::Keep).ok());
    ASSERT_FALSE(actorsBeyondEnd(f.doc.currentScene(), 1).empty());
    // The scene's own file brings them back where they are: nothing is placed there anew.
    const std::string text = exportScene(f.doc);
    EXPECT_EQ(importSceneFile(f.doc, text, SharedValues::Refuse).code, SceneImportResult::NoChange);

    // The folder of such an image gives it back whole (that scene stays in the remainder), and
    // an edited scene file that puts an actor past the end is refused with its name.
    exchange::FolderFiles files;
    ASSERT_TRUE(exchange::exportFolder(f.doc.rom(), test::defaultTable(), files).ok());
    RomImage back;
    const auto read = [&files](const std::string& name, std::string&) -> std::optional<Bytes> {
        const auto it = files.find(name);
        return it == files.end() ? std::nullopt : std::optional<Bytes>(it->second);
    };
    ASSERT_TRUE(exchange::importFolder(read, test::defaultTable(), back).ok());
    EXPECT_TRUE(back == f.doc.rom());

    std::string first = test::textOf(files.at("scenes/000000.json"));
    const std::size_t at = first.find("\"items\": [\n    {\"type\": \"0\", \"x\": \"");
    ASSERT_NE(at, std::string::npos);
    first.replace(first.find("\"x\": \"", at) + 6, 2, "95");
    files.at("scenes/000000.json") = test::bytesOf(first);
    const exchange::FolderOutcome r = exchange::importFolder(read, test::defaultTable(), back);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.reason.find("scenes/000000.json: Item 00"), 0u) << r.reason;
    EXPECT_NE(r.reason.find("a map of 9 screens ends with column 8F"), std::string::npos) << r.reason;
}

}  // namespace
}  // namespace velmar
