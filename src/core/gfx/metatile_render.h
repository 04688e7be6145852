#pragma once

#include "gfx/tile_drawing.h"
#include "rom/scene_record.h"

namespace velmar {

// A metatile is 32 x 32 pixels: quarters 0-3 (top left, bottom left, top right, bottom right)
// are subtiles of 2 x 2 tiles in the same column-first order.
constexpr int kMetatileSize = 32;
constexpr int kSheetSize = 512;  // 16 x 16 metatiles
constexpr int kMapHeight = 176;  // 5.5 metatile rows
constexpr int kScreenWidth = 256;

// The background sub-palette (0..3) of quarter q from the NES attribute byte: top left bits 0-1,
// top right 2-3, bottom left 4-5, bottom right 6-7. Only the low two bits of q count.
int quadrantPalette(int quarter, std::uint8_t attribute);

// The attribute byte with quarter q in sub-palette `palette` (its low two bits) and the other
// quarters as they were.
std::uint8_t setQuadrantPalette(int quarter, std::uint8_t attribute, int palette);

// Clears the surface and draws metatiles first .. first + extra in a 16-wide grid counted from
// the first one drawn. The main window draws 0..255 into the 512 x 512 sheet.
void drawMetatileSheet(Bitmap& surface, const MetatileTables& tables, const PixelArray& pixels, int first, int extra,
                       PaletteView palette);

// Metatile m at (0, 0), enlarged to 32 * scale when scale > 1.
void drawMetatile(Bitmap& surface, const PixelArray& pixels, const MetatileTables& tables, std::uint8_t m,
                  PaletteView palette, double scale);

// Subtile s at (0, 0) in one sub-palette, enlarged to 16 * scale when scale > 1. A palette shorter
// than 32 entries leaves the surface as it is.
void drawSubtile(Bitmap& surface, const PixelArray& pixels, const MetatileTables& tables, std::uint8_t s,
                 PaletteView palette, std::uint8_t subPalette, double scale);

// The map surface of a scene: (length + 1) * 256 x 176 pixels, each cell copied from the sheet.
// Row 5 shows only its top 16 pixel rows. Cells missing from a short map stay cleared.
void renderMap(Bitmap& mapSurface, const Bitmap& sheet, const SceneRecord& scene);

// Width of the map surface for a scene.
constexpr int mapWidth(const SceneRecord& scene) { return (scene.length + 1) * kScreenWidth; }

}  // namespace velmar
