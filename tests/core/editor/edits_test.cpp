#include <gtest/gtest.h>

#include "editor/edits.h"
#include "gfx/tile_drawing.h"
#include "core/sample_document.h"

namespace velmar {
namespace {

using edits::PatternTable;
using edits::TileOperation;

struct SampleScene : test::SampleDocument {
    const PixelArray& bank(PatternTable table) const
    {
        return table == PatternTable::Background ? doc.scene().bkgPatterns : doc.scene().sprPatterns;
    }
};

TEST(MapEdits, PasteAndFillAreStepsOfTheDocument)
{
    test::SampleDocument sample;
    Document& doc = sample.doc;
    const MapBlock block = copyBlock(doc.currentScene(), {0, 0, 3, 2});
    ASSERT_EQ(block.cells.size(), 6u);

    // Into another scene, past its right end: the cells inside change, nothing else.
    ASSERT_TRUE(doc.selectScene({0, 1, 1}).ok());
    const int columns = static_cast<int>(doc.currentScene().map.size()) / 6;
    SceneRecord want = doc.currentScene();
    pasteBlock(want, {columns - 2, 4}, block);
    EXPECT_EQ(edits::pasteRegion(doc, {columns - 2, 4}, block).code, EditResult::Recorded);
    EXPECT_EQ(doc.currentScene().map, want.map);
    EXPECT_EQ(edits::fillRegion(doc, {0, 0, 2, 6}, 0xFF, "Delete").code, EditResult::Recorded);
    EXPECT_EQ(*metatileAt(doc.currentScene(), {1, 5}), 0xFF);
    EXPECT_EQ(edits::fillRegion(doc, {columns, 0, 2, 2}, 0, "Fill Selection").code, EditResult::Refused);
}

// Each button's operation on a tile whose one set pixel is at (row 0, column 0), or (0, 7) for
// the moves that bring it back: the step's name, the bank it changes and where the pixel goes.
TEST(TileEdits, EachOperationIsANamedStepOnItsOwnBank)
{
    const struct {
        TileOperation operation;
        const char* name;
        int column, wantRow, wantColumn;
    } cases[] = {
        {TileOperation::ShiftLeft, "Shift Tile", 0, 0, 7},      {TileOperation::ShiftRight, "Shift Tile", 7, 0, 0},
        {TileOperation::ShiftUp, "Shift Tile", 0, 7, 0},        {TileOperation::ShiftDown, "Shift Tile", 0, 1, 0},
        {TileOperation::FlipTopToBottom, "Flip Tile", 0, 7, 0}, {TileOperation::FlipLeftToRight, "Flip Tile", 0, 0, 7},
        {TileOperation::Rotate, "Rotate Tile", 7, 0, 0},
    };
    for (const PatternTable table : {PatternTable::Background, PatternTable::Sprite}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name + std::string(table == PatternTable::Sprite ? " (sprites)" : ""));
            SampleScene s;
            const std::uint8_t tile = 0x21;
            ASSERT_TRUE(edits::editScene(s.doc, {"Set Up", part::Patterns, -1}, [&](SceneState& state) {
                            PixelArray& p = table == PatternTable::Background ? state.bkgPatterns : state.sprPatterns;
                            std::fill_n(p.begin() + tile * 64, 64, 0);
                            p[tile * 64 + static_cast<std::size_t>(c.column)] = 3;
                            return true;
                        }).ok());
            const PatternTable otherTable =
                table == PatternTable::Background ? PatternTable::Sprite : PatternTable::Background;
            const PixelArray other = s.bank(otherTable);
            ASSERT_EQ(edits::transformTile(s.doc, table, tile, c.operation).code, EditResult::Recorded);
            EXPECT_EQ(s.doc.undoName(), c.name);
            EXPECT_EQ(tilePixel(s.bank(table), tile, c.wantColumn, c.wantRow), 3);
            EXPECT_EQ(std::count(s.bank(table).begin() + tile * 64, s.bank(table).begin() + tile * 64 + 64, 3), 1);
            EXPECT_EQ(s.bank(otherTable), other);
        }
    }

    SampleScene s;
    const PixelArray& p = s.doc.scene().bkgPatterns;
    int source = 1;
    while (std::equal(p.begin(), p.begin() + 64, p.begin() + source * 64))
        ++source;
    ASSERT_EQ(edits::copyTile(s.doc, PatternTable::Background, static_cast<std::uint8_t>(source), 0).code,
              EditResult::Recorded);
    EXPECT_EQ(s.doc.undoName(), "Copy Tile");
    EXPECT_TRUE(std::equal(p.begin(), p.begin() + 64, p.begin() + source * 64));
}

// A sheet becomes the bank it names, also the scene's own, whose tiles show at once; a picture
// that is not a sheet changes nothing.
TEST(TileEdits, ImportTilesReadsASheetIntoABank)
{
    SampleScene s;
    const int bank = s.doc.scene().patternsBkgBank;
    PixelArray tiles(256 * 64);
    for (std::size_t i = 0; i < tiles.size(); ++i)
        tiles[i] = static_cast<std::uint8_t>((i * 5 + i / 64) % 4);
    const auto palette = test::countingPalette(0x10);
    Bitmap sheet(256, 256, 0);
    drawTileSheet(sheet, tiles, palette, 2, 2);
    const auto colours = tileSheetColours(palette, 2);

    const Bytes before = s.doc.romData();
    const edits::TileImport refused = edits::importTiles(s.doc, bank, Bitmap(128, 128, colours[0]), colours, 2);
    EXPECT_FALSE(refused.picture.ok());
    EXPECT_EQ(refused.edit.code, EditResult::Refused);
    EXPECT_EQ(s.doc.romData(), before);

    const edits::TileImport r = edits::importTiles(s.doc, bank, sheet, colours, 2);
    EXPECT_TRUE(r.picture.ok());
    EXPECT_EQ(r.edit.code, EditResult::Recorded);
    EXPECT_EQ(s.doc.undoName(), "Import Tiles");
    EXPECT_EQ(s.doc.scene().bkgPatterns, tiles);
    PixelArray stored;
    ASSERT_TRUE(loadChrBank(s.doc.romData(), stored, bank).ok());
    EXPECT_EQ(stored, tiles);
    EXPECT_EQ(edits::importTiles(s.doc, 0x20, sheet, colours, 2).edit.code, EditResult::Refused) << "no bank 20";
}

}  // namespace
}  // namespace velmar
