#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "exchange/scene_file.h"
#include "base/hex.h"
#include "core/sample_document.h"

namespace velmar {
namespace {

constexpr SceneKey kFirst{0, 0, 0};
constexpr SceneKey kOther{0, 1, 1};

using test::replaced;

struct SceneFileFixture : test::SampleDocument {
    using SampleDocument::SampleDocument;

    // What a change must leave as it was when it is refused.
    void expectUntouched(const Bytes& before, const char* what) const
    {
        EXPECT_EQ(doc.romData(), before) << what;
        EXPECT_EQ(doc.history().size(), 0u) << what;
    }
};

TEST(SceneFile, ExportAndImportGiveTheSameSceneAndAnEditLandsWhereItShould)
{
    SceneFileFixture f;
    const Bytes loaded = f.doc.romData();
    const std::string text = exportScene(f.doc);

    // The file reads back as the scene: importing it changes nothing.
    EXPECT_EQ(importSceneFile(f.doc, text, SharedValues::Refuse).code, SceneImportResult::NoChange);
    f.expectUntouched(loaded, "identity");

    // Row 0 of the map as the view shows it is the first cell of every column; row 5 the last.
    SceneDescription d = describeScene(f.doc.currentScene());
    d.map[0] = 0x12;               // screen 0, column 0, row 0
    d.map[48 + 6 * 2 + 5] = 0x34;  // screen 1, column 2, row 5
    d.length = static_cast<std::uint8_t>(d.length + 1);
    d.map.resize(d.map.size() + 48, 0x07);
    d.enemies.push_back({0x05, 0x3A, 0x21});  // b 05, row 3, column A
    d.items.clear();
    d.startX = 0x44;
    const std::string edited = writeSceneFile(d);
    SceneDescription read;
    ASSERT_TRUE(readSceneFile(edited, read).ok());
    EXPECT_EQ(read, d);
    // Rows of the file are the view's rows: a screen's 8 columns, then two spaces before the next.
    const nlohmann::json rows = nlohmann::json::parse(edited)["map"];
    EXPECT_EQ(rows[0].get<std::string>().substr(0, 3), "12 ");
    EXPECT_EQ(rows[5].get<std::string>().substr(10 * 3 + 1, 3), "34 ");

    ASSERT_TRUE(importSceneFile(f.doc, edited, SharedValues::Refuse).ok());
    EXPECT_EQ(f.doc.history().size(), 1u) << "one step, however much the packers moved";
    EXPECT_EQ(f.doc.undoName(), "Import Scene");
    EXPECT_EQ(describeScene(f.doc.currentScene()), canonicalScene(d));
}

TEST(SceneFile, ValuesOtherScenesShareChangeOnlyWhenAsked)
{
    // A scene of another stage brought in: its stage values differ from this stage's.
    SceneFileFixture from(kFirst);
    const SceneDescription d = describeScene(from.doc.currentScene());
    SceneFileFixture f(kOther);
    const Bytes loaded = f.doc.romData();
    const SceneDescription before = describeScene(f.doc.currentScene());
    SceneDescription differing = d;
    differing.property(SceneProperty::Time) = static_cast<std::uint8_t>(f.doc.currentScene().time + 1);

    const auto refused = importScene(f.doc, differing, SharedValues::Refuse);
    EXPECT_EQ(refused.code, SceneImportResult::SharedDiffer);
    EXPECT_NE(refused.reason.find("stage time: "), std::string::npos) << refused.reason;
    f.expectUntouched(loaded, "refused");

    ASSERT_TRUE(importScene(f.doc, differing, SharedValues::Keep).ok());
    const SceneDescription kept = describeScene(f.doc.currentScene());
    EXPECT_EQ(kept.map, d.map);
    for (const ScenePropertyRow& row : scenePropertyRows()) {
        EXPECT_EQ(kept.property(row.property), (row.sharing == Sharing::Scene ? d : before).property(row.property))
            << row.label;
    }
    ASSERT_TRUE(f.doc.undo().ok());

    ASSERT_TRUE(importScene(f.doc, differing, SharedValues::Change).ok());
    EXPECT_EQ(describeScene(f.doc.currentScene()), canonicalScene(differing));
}

// An actor list the actor area cannot hold is refused with the packer's reason.
TEST(SceneFile, WhatTheImageCannotHoldIsRefusedAndNothingChanges)
{
    SceneFileFixture f(kFirst, test::sampleWithFullActorArea());
    const Bytes loaded = f.doc.romData();
    SceneDescription crowded = describeScene(f.scene());
    crowded.items.push_back({0x01, 0x10, 0x02});
    const auto r = importScene(f.doc, crowded, SharedValues::Keep);
    EXPECT_EQ(r.code, SceneImportResult::Refused);
    EXPECT_EQ(r.reason, "Actor data exceeds available space!");
    f.expectUntouched(loaded, "no room");
}

TEST(SceneFile, ABrokenFileIsRefusedWithWhereItIsWrong)
{
    SceneFileFixture f;
    const Bytes loaded = f.doc.romData();
    SceneDescription d = describeScene(f.doc.currentScene());
    d.enemies.assign(4, EnemyRecord{0x10, 0x23, 0x04});
    d.items.assign(2, ItemRecord{0x10, 0x20, 0x04});
    const std::string good = writeSceneFile(d);
    SceneDescription withoutItems = d;
    withoutItems.items.clear();
    const std::string noItems = writeSceneFile(withoutItems);
    const std::string firstEnemy = R"({"type": "04", "b": "10", "x": "3", "y": "2"})";
    const std::string lastEnemy = firstEnemy + "\n";
    const std::string length = "\"length\": \"" + hexPad(d.length, 2) + "\"";
    const int columns = (d.length + 1) * 8;
    const struct {
        std::string text;
        std::string reason;
    } cases[] = {
        {"{\"format\": ", "The file is not JSON: the error is at line 1, column 11."},
        {"[1, 2]", "The file: must be an object { ... }"},
        {replaced(good, "velmar-scene", "tiled"), "format: \"tiled\" is not \"velmar-scene\""},
        {replaced(good, "\"version\": 1", "\"version\": 2"), "version: 2: this program reads version 1"},
        {replaced(good, "\"sprBank\"", "\"sprbank\""),
         "The file: unknown member \"sprbank\" (did you mean \"sprBank\"?)"},
        {replaced(good, "\"format\"", "\"colour\": 1, \"format\""), "The file: unknown member \"colour\""},
        {replaced(good, "\"left to right\"", "\"up\""),
         "direction: \"up\" is not \"left to right\" or \"right to left\""},
        {replaced(good, length, "\"length\": \"10\""),
         "map[0]: " + std::to_string(columns) + " metatiles, but a length of 10 needs 136"},
        {replaced(good, length, "\"length\": \"11\""), "length: 11 is not 00 to 10"},
        {replaced(good, "\"sprBank\": \"", "\"sprBank\": \"1"),
         "sprBank: 1" + hexPad(d.property(SceneProperty::SprBank), 1) + " is not 0 to F"},
        {replaced(good, "\"bkgBank\": \"", "\"bkgBank\": \"2"),
         "stage.bkgBank: 2" + hexPad(d.property(SceneProperty::BkgBank), 2) + " is not 00 to 1F"},
        {replaced(good, "{\"x\": \"" + hexPad(d.startX, 2) + "\"", "{\"x\": 32"),
         "start.x: write hexadecimal digits in quotes, such as \"FF\""},
        {replaced(good, "\"map\": [\n    \"", "\"map\": [\n    \"zz "),
         "map[0][0]: \"zz\" is not a hexadecimal number"},
        {replaced(good, "[\"" + hexPad(d.property(SceneProperty::SprPalette0), 2) + "\", ", "["),
         "sprPalettes: 3 entries, not 4"},
        {replaced(good, lastEnemy, firstEnemy + ",\n    " + R"({"type": "04", "b": "300", "x": "3", "y": "2"})" + "\n"),
         "enemies[4].b: 300 is not 00 to FF"},
        {replaced(good, R"("x": "3", "y": "2"})", R"("x": "3"})"), "enemies[0]: \"y\" is missing"},
        {replaced(good, R"("x": "3", "y": "2"})", R"("x": "13", "y": "2"})"), "enemies[0].x: 13 is not 0 to F"},
        {replaced(good, R"({"type": "4", "x": "10")", R"({"type": "10", "x": "10")"),
         "items[0].type: 10 is not 0 to F"},
        {replaced(noItems, "\"items\": []", "\"items\": {}"), "items: must be a list [ ... ]"},
    };
    for (const auto& c : cases) {
        SceneDescription out = d;
        const auto r = readSceneFile(c.text, out);
        EXPECT_EQ(r.code, SceneImportResult::BadFile) << c.reason;
        EXPECT_EQ(r.reason, c.reason);
        EXPECT_EQ(out, d) << "untouched: " << c.reason;
        EXPECT_EQ(importSceneFile(f.doc, c.text, SharedValues::Change).code, SceneImportResult::BadFile);
    }
    f.expectUntouched(loaded, "bad files");
    // A file written by hand is read whatever its spacing.
    SceneDescription spaced;
    ASSERT_TRUE(readSceneFile(replaced(good, "\"map\": [\n    \"", "\"map\": [\n    \"  \\t"), spaced).ok());
    EXPECT_EQ(spaced, d);
}

}  // namespace
}  // namespace velmar
