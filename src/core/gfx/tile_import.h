#pragma once

#include <array>

#include "gfx/bitmap.h"
#include "gfx/pattern_tiles.h"
#include "base/outcome.h"

namespace velmar {

// Why a picture cannot become a bank's tiles.
enum class [[nodiscard]] TileImportResult{
    Ok = 0,
    WrongSize = 1,      // not a sheet of 16 x 16 tiles at the scale
    SameColours = 2,    // two colours of the sub-palette look alike: a pixel's value is unknown
    ForeignColour = 3,  // a pixel is none of the four colours
    UnevenBlock = 4,    // an enlarged pixel is not one colour throughout
};

// Reads back a sheet as drawTileSheet draws it: 16 x 16 tiles of 8 x 8 pixels, each pixel a
// `scale` x `scale` block in one of `colours` (value 0..3, see tileSheetColours). On success
// `out` is the 256 tiles; on failure it is untouched and the reason names the first pixel at
// fault (in the picture's coordinates, rows top to bottom).
Outcome<TileImportResult> importTileSheet(const Bitmap& sheet, const std::array<ScreenColour, 4>& colours, int scale,
                                          PixelArray& out);

}  // namespace velmar
