#include <gtest/gtest.h>

#include "editor/edits.h"
#include "mapview/map_region.h"
#include "support/test_support.h"

namespace velmar {
namespace {

// A two-screen map whose cell (column c, row r) holds c * 6 + r, the order the map stores them.
SceneRecord twoScreens()
{
    SceneRecord s;
    s.length = 1;
    s.map.resize(96);
    for (std::size_t i = 0; i < s.map.size(); ++i)
        s.map[i] = static_cast<std::uint8_t>(i);
    return s;
}

TEST(MapRegion, SelectionsAreClippedToTheMap)
{
    const SceneRecord s = twoScreens();
    EXPECT_EQ(spanCells({9, 4}, {7, 1}), (CellRect{7, 1, 3, 4}));
    EXPECT_EQ(clipToMap({14, 4, 5, 5}, s), (CellRect{14, 4, 2, 2})) << "16 columns, 6 rows";
    EXPECT_TRUE(clipToMap({-3, 0, 3, 6}, s).empty());
    EXPECT_EQ(metatileAt(s, {9, 2}), 9 * 6 + 2) << "column 9 is column 1 of screen 1";
    EXPECT_EQ(metatileAt(s, {16, 0}), std::nullopt);
    // The keyboard's cursor stops at the edges.
    EXPECT_EQ(stepCell(s, {15, 5}, 1, 1), (MapCell{15, 5}));
    EXPECT_EQ(stepCell(s, {0, 0}, -8, -1), (MapCell{0, 0}));
    EXPECT_EQ(stepCell(s, {4, 2}, 8, 1), (MapCell{12, 3}));
    EXPECT_EQ(stepCell(s, {40, 9}, 0, 0), (MapCell{15, 5})) << "a cell outside comes back in";

    // A block copied across the screen boundary comes back row by row.
    const MapBlock b = copyBlock(s, {7, 0, 2, 2});
    EXPECT_EQ(b.cells, (Bytes{42, 48, 43, 49}));
    SceneRecord t = twoScreens();
    ASSERT_TRUE(pasteBlock(t, {15, 5}, b)) << "one cell of it lands inside";
    EXPECT_EQ(t.map[15 * 6 + 5], 42);
    EXPECT_EQ(t.map.size(), 96u);
    EXPECT_FALSE(pasteBlock(t, {16, 0}, b));
    EXPECT_FALSE(fillCells(t, {0, 6, 4, 1}, 0xFF));
}

TEST(MapRegion, PasteAndFillAreStepsOfTheDocument)
{
    Document doc;
    ASSERT_TRUE(doc.openImage(test::sampleImage(), "game.nes").ok());
    ASSERT_TRUE(doc.selectScene({0, 0, 0}).ok());
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

}  // namespace
}  // namespace velmar
