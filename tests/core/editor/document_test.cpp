#include <gtest/gtest.h>

#include "editor/edits.h"
#include "rom/scene_codec.h"
#include "support/test_support.h"

namespace velmar {
namespace {

using test::TempDir;

constexpr SceneKey kFirst{0, 0, 0};
constexpr SceneKey kSecond{0, 1, 1};

struct DocumentFixture {
    TempDir dir;
    std::string path = (dir.path() / "game.nes").string();
    Document doc;
    std::vector<DocumentEvent> events;

    DocumentFixture()
    {
        test::writeFile(path, test::textOf(test::sampleImage().fileBytes()));
        doc.setListener([this](const DocumentEvent& e) { events.push_back(e); });
        EXPECT_TRUE(doc.open(path, false, {}).ok());
        EXPECT_TRUE(doc.selectScene(kFirst).ok());
    }

    // A metatile other than the one in map cell `index`, so that placing it is a change.
    std::uint8_t other(std::size_t index) const { return static_cast<std::uint8_t>(doc.currentScene().map[index] + 1); }
};

TEST(Document, NothingIsRecordedForNoChangeOrARefusal)
{
    DocumentFixture f;
    const Bytes loaded = f.doc.romData();
    const std::uint8_t same = f.doc.currentScene().map[0];
    EXPECT_EQ(edits::placeMetatile(f.doc, {0, 0}, same).code, EditResult::NoChange);
    EXPECT_EQ(edits::placeMetatile(f.doc, {0, 6}, 1).code, EditResult::Refused) << "below the map";

    // A change that refuses halfway leaves neither the scene nor the image touched.
    const auto r = f.doc.edit({"Half", part::Map, -1}, [](EditContext& c) {
        c.scene().currentScene.map[0] ^= 0xFF;
        c.image()[0x100] ^= 0xFF;
        return false;
    });
    EXPECT_EQ(r.code, EditResult::Refused);
    EXPECT_EQ(f.doc.romData(), loaded);
    EXPECT_EQ(f.doc.currentScene().map[0], same);
    EXPECT_EQ(f.doc.history().size(), 0u);
}

TEST(Document, AChangeWhoseSceneCannotBeStoredBackIsReportedAsFailed)
{
    // A resize (or a text packing, through the same template) that went through but left a scene
    // whose map would run past bank 0: the document undoes it, and the outcome is the failure,
    // not the change's success.
    DocumentFixture f;
    const Bytes loaded = f.doc.romData();
    const auto resized = edits::editWithOutcome<Outcome<ResizeResult>>(f.doc, {"Resize Map"}, ResizeResult::BadData,
                                                                       [&](EditContext& c) {
                                                                           c.image()[0x100] ^= 0xFF;
                                                                           c.scene().currentScene.mapAddress = 0xBFF0;
                                                                           return Outcome<ResizeResult>{};
                                                                       });
    EXPECT_EQ(resized.code, ResizeResult::BadData);
    EXPECT_NE(resized.reason.find("past the end of bank 0"), std::string::npos) << resized.reason;
    EXPECT_EQ(f.doc.romData(), loaded);
    EXPECT_EQ(f.doc.history().size(), 0u);

    // A refusal of the change's own stays its own; with no file open, that is the reason.
    const auto refused =
        edits::editWithOutcome<Outcome<ResizeResult>>(f.doc, {"Resize Map"}, ResizeResult::BadData, [](EditContext&) {
            return Outcome<ResizeResult>{ResizeResult::NoSpace, "Map data exceeds available space!"};
        });
    EXPECT_EQ(refused.code, ResizeResult::NoSpace);
    Document closed;
    const TextPackOutcome none = edits::packTexts(closed, CharTable{}, {});
    EXPECT_EQ(none.code, TextPackResult::BadData);
    EXPECT_EQ(none.reason, "No file is open.");
}

TEST(Document, AStrokeIsOneStepAndComesToNothingWhenItCancelsOut)
{
    DocumentFixture f;
    const Bytes loaded = f.doc.romData();
    const std::uint8_t first = f.doc.currentScene().map[0];

    f.doc.beginStroke({"Place Metatile", part::Map, 0});
    for (int column = 0; column < 8; ++column)
        EXPECT_TRUE(edits::placeMetatile(f.doc, {column, 0}, static_cast<std::uint8_t>(first + 1)).ok());
    f.doc.endStroke();
    EXPECT_EQ(f.doc.history().size(), 1u);
    for (std::size_t column = 0; column < 8; ++column)
        EXPECT_EQ(f.doc.currentScene().map[6 * column], static_cast<std::uint8_t>(first + 1));
    ASSERT_TRUE(f.doc.undo().ok());
    EXPECT_EQ(f.doc.romData(), loaded) << "the whole stroke goes back at once";

    f.doc.beginStroke({"Place Metatile", part::Map, 0});
    EXPECT_TRUE(edits::placeMetatile(f.doc, {0, 0}, static_cast<std::uint8_t>(first + 1)).ok());
    EXPECT_TRUE(edits::placeMetatile(f.doc, {0, 0}, first).ok());
    f.doc.endStroke();
    EXPECT_EQ(f.doc.history().doneCount(), 0u) << "a stroke that changes nothing is no step";
    EXPECT_TRUE(f.doc.canRedo()) << "and does not drop what can be redone";
}

TEST(Document, PixelsGoBackToTheBankTheyCameFrom)
{
    DocumentFixture f;
    const std::uint8_t bank = f.doc.currentScene().bkgBank;
    const std::uint8_t before = f.doc.scene().bkgPatterns[64 * 3];
    ASSERT_TRUE(
        edits::paintPixel(f.doc, edits::PatternTable::Background, 3, 0, 0, static_cast<std::uint8_t>((before + 1) & 3))
            .ok());
    PixelArray stored;
    ASSERT_TRUE(loadChrBank(f.doc.romData(), stored, bank).ok());
    EXPECT_EQ(stored[64 * 3], (before + 1) & 3);

    // A new bank number takes the other bank's tiles; the painted bank keeps its pixel.
    ASSERT_TRUE(edits::editScene(f.doc, {"Change Bank", part::Properties, -1}, [&](SceneState& s) {
                    s.currentScene.bkgBank = static_cast<std::uint8_t>(bank ^ 1);
                    return true;
                }).ok());
    PixelArray other;
    ASSERT_TRUE(loadChrBank(f.doc.romData(), other, bank ^ 1).ok());
    EXPECT_EQ(f.doc.scene().bkgPatterns, other);
    ASSERT_TRUE(loadChrBank(f.doc.romData(), stored, bank).ok());
    EXPECT_EQ(stored[64 * 3], (before + 1) & 3);
}

// Subtile, metatile and attribute edits set one quarter each (counted column first: top left,
// bottom left, top right, bottom right; the attribute byte's bits go row first) under their own
// names, and are stored with the scene: undone, redone, kept over a scene switch and in the
// saved file. A quarter or palette out of range is refused.
TEST(Document, MetatileTableEditsAreKept)
{
    DocumentFixture f;
    const MetatileTables loaded = f.doc.scene().metatiles;
    MetatileTables want = loaded;
    want.subtileDefs[3][1] ^= 0x40;
    want.metatileDefs[7][4] ^= 1;
    const int palette = (loaded.metatileDefs[7][0] >> 2 & 3) ^ 3;  // top right: bits 2-3
    want.metatileDefs[7][0] = static_cast<std::uint8_t>((loaded.metatileDefs[7][0] & 0xF3) | palette << 2);
    ASSERT_EQ(edits::setSubtileTile(f.doc, 3, 1, want.subtileDefs[3][1]).code, EditResult::Recorded);
    EXPECT_EQ(f.doc.undoName(), "Edit Subtile");
    ASSERT_EQ(edits::setAttributePalette(f.doc, 7, 2, palette).code, EditResult::Recorded);
    EXPECT_EQ(f.doc.undoName(), "Edit Attributes");
    ASSERT_EQ(edits::setMetatileSubtile(f.doc, 7, 3, want.metatileDefs[7][4]).code, EditResult::Recorded);
    EXPECT_EQ(f.doc.undoName(), "Edit Metatile");
    EXPECT_EQ(f.doc.scene().metatiles, want);
    for (const int quarter : {-1, 4}) {
        EXPECT_EQ(edits::setSubtileTile(f.doc, 3, quarter, 0).reason, "A quarter is 0 to 3.");
        EXPECT_EQ(edits::setMetatileSubtile(f.doc, 7, quarter, 0).code, EditResult::Refused);
        EXPECT_EQ(edits::setAttributePalette(f.doc, 7, quarter, 0).code, EditResult::Refused);
    }
    EXPECT_EQ(edits::setAttributePalette(f.doc, 7, 0, 4).reason, "A background palette is 0 to 3.");

    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(f.doc.undo().ok());
    EXPECT_EQ(f.doc.scene().metatiles, loaded);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(f.doc.redo().ok());
    ASSERT_TRUE(f.doc.selectScene(kSecond).ok());
    ASSERT_TRUE(f.doc.selectScene(kFirst).ok());
    EXPECT_EQ(f.doc.scene().metatiles, want);
    ASSERT_TRUE(f.doc.save(false).ok());
    RomImage saved;
    ASSERT_TRUE(readRomFile(f.path, saved).ok());
    MetatileTables reread;
    ASSERT_TRUE(loadMetatileTables(saved.romData, f.doc.currentScene(), reread).ok());
    EXPECT_EQ(reread, want);
}

TEST(Document, OpeningAndSaving)
{
    DocumentFixture f;
    ASSERT_TRUE(edits::placeMetatile(f.doc, {0, 0}, f.other(0)).ok());
    ASSERT_TRUE(f.doc.save(false).ok());
    EXPECT_FALSE(f.doc.hasUnsavedChanges());
    RomImage saved;
    ASSERT_TRUE(readRomFile(f.path, saved).ok());
    EXPECT_EQ(saved.romData, f.doc.romData());
    ASSERT_TRUE(f.doc.undo().ok());
    EXPECT_TRUE(f.doc.hasUnsavedChanges()) << "undoing past a save is a change again";

    // A cut-off image and an unreadable file are refused; the open image stays as it was.
    const Bytes shown = f.doc.romData();
    Bytes cut = test::sampleImage().fileBytes();
    cut.resize(0x30000);
    test::writeFile(f.dir.file("cut.nes"), test::textOf(cut));
    EXPECT_EQ(f.doc.open(f.dir.file("cut.nes").string(), false, {}).code, RomReadResult::TooShort);
    EXPECT_EQ(f.doc.open(f.dir.file("gone.nes").string(), false, {}).code, RomReadResult::IoError);
    EXPECT_EQ(f.doc.romData(), shown);
    EXPECT_EQ(f.doc.path(), f.path);
    EXPECT_TRUE(f.doc.hasScene());
    EXPECT_TRUE(f.doc.canRedo());

    // A good file clears the history and leaves no scene current until one is chosen.
    ASSERT_TRUE(f.doc.open(f.path, false, {}).ok());
    EXPECT_FALSE(f.doc.hasScene());
    EXPECT_FALSE(f.doc.canUndo() || f.doc.canRedo());
}

TEST(Document, AnUnreadableSceneLeavesTheShownOneCurrent)
{
    DocumentFixture f;
    RomImage broken = test::sampleImage();
    broken.romData[0x8700 + 2 * 1 + 1] = 0x10;  // item pointer of scene 1 below 0x8000
    ASSERT_TRUE(f.doc.openImage(broken, f.path).ok());
    ASSERT_TRUE(f.doc.selectScene(kFirst).ok());
    EXPECT_EQ(f.doc.selectScene(kSecond).code, RomStatus::Code::BadPointer);
    EXPECT_EQ(f.doc.sceneKey(), kFirst);
}

TEST(EditHistory, TheOldestStepsGoOverTheMemoryLimit)
{
    EditHistory history(3000);
    for (int i = 0; i < 5; ++i)
        history.push({"Step", 0, std::nullopt, -1, {{0, Bytes(400, 0), Bytes(400, 1)}}});
    EXPECT_LT(history.size(), 5u) << "the oldest steps go";
    EXPECT_LE(history.memoryUsed(), 3000u);
    EXPECT_EQ(history.doneCount(), history.size());
}

}  // namespace
}  // namespace velmar
