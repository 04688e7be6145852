#include <gtest/gtest.h>

#include "gfx/tile_drawing.h"
#include "gfx/tile_import.h"

namespace velmar {
namespace {

// A sheet drawn from tiles where every tile differs and uses every value reads back as those
// tiles; a picture that is not such a sheet is refused with the first place at fault and the
// tiles are left alone.
TEST(TileImport, ReadsBackTheSheetOrRefusesWithThePlace)
{
    PixelArray tiles(256 * 64);
    for (std::size_t i = 0; i < tiles.size(); ++i)
        tiles[i] = static_cast<std::uint8_t>((i * 7 + i / 64 + i / 13) % 4);
    std::array<std::uint8_t, 32> palette{};
    for (std::size_t i = 0; i < 32; ++i)
        palette[i] = static_cast<std::uint8_t>(0x3D - i);
    Bitmap sheet(256, 256, 0);
    drawTileSheet(sheet, tiles, palette, 5, 2);
    const auto colours = tileSheetColours(palette, 5);
    PixelArray out;
    EXPECT_TRUE(importTileSheet(sheet, colours, 2, out).ok());
    EXPECT_EQ(out, tiles);

    const PixelArray before(256 * 64, 9);
    auto refusal = [&](const Bitmap& picture, const std::array<ScreenColour, 4>& c) {
        PixelArray kept = before;
        const auto r = importTileSheet(picture, c, 2, kept);
        EXPECT_EQ(kept, before);
        return r.reason;
    };
    Bitmap stray = sheet;
    stray.setPixel(37, 200, rgb(1, 2, 3));
    stray.setPixel(250, 250, rgb(1, 2, 3));
    EXPECT_EQ(refusal(stray, colours), "The pixel at (37, 200) is not one of the sub-palette's four colours");
    // Another of the four colours in one pixel of the 2 x 2 block at (4, 4).
    Bitmap uneven = sheet;
    uneven.setPixel(5, 5, sheet.pixel(4, 4) == colours[0] ? colours[1] : colours[0]);
    EXPECT_NE(refusal(uneven, colours).find("(5, 5)"), std::string::npos);
    EXPECT_EQ(refusal(Bitmap(256, 255, colours[0]), colours), "The picture must be 256 x 256 pixels, not 256 x 255");
    EXPECT_EQ(refusal(sheet, {colours[0], colours[3], colours[2], colours[3]}),
              "Colours 1 and 3 of the sub-palette are the same; choose another sub-palette");
}

}  // namespace
}  // namespace velmar
