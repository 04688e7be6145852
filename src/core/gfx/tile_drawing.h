#pragma once

#include <array>
#include <span>

#include "gfx/bitmap.h"
#include "gfx/pattern_tiles.h"

namespace velmar {

// Result codes of the drawing operations.
enum class [[nodiscard]] DrawResult : int{Ok = 0, ShortPalette = 2};

using PaletteView = std::span<const std::uint8_t>;

// Draws tile `tile` of `pixels` with its top left at (x, y) in sub-palette `subPalette` (0..7)
// of the 32-byte palette memory. Every pixel is drawn, value 0 included. A palette shorter than
// 32 entries draws nothing. Tiles missing from a short pixel array draw as value 0.
DrawResult drawTile(const PixelArray& pixels, std::uint8_t tile, Bitmap& surface, int x, int y, PaletteView palette,
                    std::uint8_t subPalette);

// As drawTile, but the tile starts at pixels[pixelOffset] and the colours are computed with
// nesColorToRgb (palette byte AND 0x3F).
DrawResult drawTileDirect(const PixelArray& pixels, int pixelOffset, Bitmap& surface, int x, int y, PaletteView palette,
                          std::uint8_t subPalette);

// Draws one sprite tile: attributes bits 0-1 choose sprite sub-palette 4-7, bit 6 mirrors left
// to right, bit 7 top to bottom. Pixel value 0 comes out in the key colour. The caller's palette
// is not changed.
DrawResult drawSpriteTile(const PixelArray& pixels, std::uint8_t tile, Bitmap& surface, int x, int y, int attributes,
                          PaletteView palette);

// The four screen colours drawTileSheet draws pixel values 0..3 in: sub-palette `subPalette`
// (0..7) of the 32-byte palette memory, each byte AND 0x3F. All black for a short palette.
std::array<ScreenColour, 4> tileSheetColours(PaletteView palette, std::uint8_t subPalette);

// The 256 tiles of a bank as a 16 x 16 sheet (tile n at column n % 16, row n / 16), enlarged by
// `scale`: the surface is cleared, the sheet drawn at 1:1, then its 256 x 256 corner stretched to
// 256 * scale pixels square.
void drawTileSheet(Bitmap& surface, const PixelArray& pixels, PaletteView palette, std::uint8_t subPalette,
                   double scale);

// One tile at 8x, filling a 64 x 64 surface: drawn at 1:1 at its top left, then stretched. A
// palette shorter than 32 entries draws nothing.
void drawTileZoomed(Bitmap& surface, const PixelArray& pixels, std::uint8_t tile, PaletteView palette,
                    std::uint8_t subPalette);

// Copies the 64 pixels of one tile to another (of the same or another array).
void copyTile(const PixelArray& src, std::uint8_t srcTile, PixelArray& dst, std::uint8_t dstTile);

}  // namespace velmar
