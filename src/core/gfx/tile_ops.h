#pragma once

#include "gfx/pattern_tiles.h"

namespace velmar {

// Pixel operations on one 8 x 8 tile of a pixel array, in place. Each result pixel is taken from
// the tile as it was before the operation. A tile missing from the array is left alone.

// R(r, c) = A((r + dy) mod 8, (c + dx) mod 8): dx = 1 moves the content one pixel left, with
// column 0 coming back as column 7; dy = -1 moves it one pixel down.
void shiftTile(PixelArray& pixels, std::uint8_t tile, int dx, int dy);

// Mirrors about the vertical centre line (left-right) and/or the horizontal one (top-bottom).
// With neither flag the tile is unchanged.
void flipTile(PixelArray& pixels, std::uint8_t tile, bool mirrorLeftRight, bool mirrorTopBottom);

// A quarter turn anticlockwise: R(r, c) = A(c, 7 - r).
void rotateTile(PixelArray& pixels, std::uint8_t tile);

}  // namespace velmar
