#include <gtest/gtest.h>

#include "gfx/background_editor_views.h"

namespace velmar {
namespace {

TEST(BackgroundEditorViews, AttributeQuartersAndEnlargedTile)
{
    MetatileTables tables;
    tables.metatileDefs[9][0] = 0xE4;
    PixelArray pixels(256 * 64, 0);
    pixels[3 * 64 + 1] = 2;  // tile 3, pixel (1, 0)
    std::array<std::uint8_t, 32> palette{};
    for (int i = 0; i < 32; ++i)
        palette[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);

    BackgroundEditorViews views;
    BackgroundEditorSelection sel;
    sel.tile = 3;
    sel.metatile = 9;
    sel.tilePalette = 1;
    redrawAll(views, pixels, tables, palette, sel);

    EXPECT_EQ(views.attributes.pixel(5, 5), kPaletteMarkers[0]);   // top left: bits 0-1
    EXPECT_EQ(views.attributes.pixel(5, 40), kPaletteMarkers[2]);  // bottom left: bits 4-5
    EXPECT_EQ(views.attributes.pixel(40, 5), kPaletteMarkers[1]);  // top right: bits 2-3
    EXPECT_EQ(views.attributes.pixel(63, 63), kPaletteMarkers[3]);

    const ScreenColour set = nesRgbTable()[4 + 2];
    EXPECT_EQ(views.selectedTile.pixel(8, 0), set) << "pixel (1, 0) covers x 8..15 at 8x";
    EXPECT_EQ(views.selectedTile.pixel(15, 7), set);
    EXPECT_NE(views.selectedTile.pixel(16, 0), set);
    EXPECT_EQ(views.patternTable.pixel(3 * 16 + 2, 0), set) << "tile 3 at 2x in the pattern table";
}

}  // namespace
}  // namespace velmar
