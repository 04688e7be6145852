#include "gfx/metatile_render.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "rom/address_map.h"

namespace velmar {

namespace {

// Where quarter q's two bits sit in the attribute byte: quarters count column first, the NES
// attribute byte row first.
int attributeShift(int quarter)
{
    static constexpr int kShift[4] = {0, 4, 2, 6};
    return kShift[quarter & 3];
}

void drawMetatileAt(Bitmap& surface, const PixelArray& pixels, const MetatileTables& tables, std::uint8_t m, int x,
                    int y, PaletteView palette)
{
    const auto& def = tables.metatileDefs[m];
    for (int q = 0; q < 4; ++q) {
        const auto& sub = tables.subtileDefs[def[static_cast<std::size_t>(1 + q)]];
        const auto k = static_cast<std::uint8_t>(quadrantPalette(q, def[0]));
        // Every caller has checked that the palette holds all 32 entries.
        for (int t = 0; t < 4; ++t) {
            (void)drawTile(pixels, sub[static_cast<std::size_t>(t)], surface, x + 16 * (q / 2) + 8 * (t / 2),
                           y + 16 * (q % 2) + 8 * (t % 2), palette, k);
        }
    }
}

void enlarge(Bitmap& surface, int size, double scale)
{
    if (scale > 1) {
        const int big = static_cast<int>(std::lround(size * scale));
        stretchBlit(surface, 0, 0, big, big, surface, 0, 0, size, size);
    }
}

// One 32 x 32 block from the sheet onto the map, clipped at the map's bottom: the hot loop of a
// render, so whole rows are copied at a fixed size when both blocks lie inside their surfaces.
void copyCell(Bitmap& map, int x, int y, const Bitmap& sheet, int sx, int sy)
{
    if (x < 0 || y < 0 || x + kMetatileSize > map.width() || sx + kMetatileSize > sheet.width()
        || sy + kMetatileSize > sheet.height()) {
        blit(map, x, y, kMetatileSize, kMetatileSize, sheet, sx, sy);
        return;
    }
    const int rows = std::min(kMetatileSize, map.height() - y);
    for (int k = 0; k < rows; ++k)
        std::memcpy(map.row(y + k) + x, sheet.row(sy + k) + sx, kMetatileSize * sizeof(ScreenColour));
}

}  // namespace

int quadrantPalette(int quarter, std::uint8_t attribute) { return (attribute >> attributeShift(quarter)) & 3; }

std::uint8_t setQuadrantPalette(int quarter, std::uint8_t attribute, int palette)
{
    const int shift = attributeShift(quarter);
    return static_cast<std::uint8_t>((attribute & ~(3 << shift)) | ((palette & 3) << shift));
}

void drawMetatileSheet(Bitmap& surface, const MetatileTables& tables, const PixelArray& pixels, int first, int extra,
                       PaletteView palette)
{
    // Drawing all 256 metatiles into a 512 x 512 sheet covers every pixel: no need to clear first.
    const bool coversAll = first == 0 && extra >= 255 && surface.width() <= kSheetSize && surface.height() <= kSheetSize
        && palette.size() >= 32;
    if (!coversAll)
        surface.clear();
    if (palette.size() < 32)
        return;
    int cellX = 0;
    int cellY = 0;
    for (int m = first; m <= first + extra; ++m) {
        drawMetatileAt(surface, pixels, tables, static_cast<std::uint8_t>(m), kMetatileSize * cellX,
                       kMetatileSize * cellY, palette);
        if (++cellX > 15) {
            cellX = 0;
            ++cellY;
        }
    }
}

void drawMetatile(Bitmap& surface, const PixelArray& pixels, const MetatileTables& tables, std::uint8_t m,
                  PaletteView palette, double scale)
{
    if (palette.size() < 32)
        return;
    drawMetatileAt(surface, pixels, tables, m, 0, 0, palette);
    enlarge(surface, kMetatileSize, scale);
}

void drawSubtile(Bitmap& surface, const PixelArray& pixels, const MetatileTables& tables, std::uint8_t s,
                 PaletteView palette, std::uint8_t subPalette, double scale)
{
    if (palette.size() < 32)
        return;
    const auto& sub = tables.subtileDefs[s];
    for (int t = 0; t < 4; ++t)
        (void)drawTile(pixels, sub[static_cast<std::size_t>(t)], surface, 8 * (t / 2), 8 * (t % 2), palette,
                       subPalette);  // the palette was checked above
    enlarge(surface, 16, scale);
}

void renderMap(Bitmap& mapSurface, const Bitmap& sheet, const SceneRecord& scene)
{
    const int width = mapWidth(scene);
    const int screens = scene.length + 1;
    if (mapSurface.width() != width || mapSurface.height() != kMapHeight)
        mapSurface.resize(width, kMapHeight);
    else if (scene.map.size() < static_cast<std::size_t>(screens) * rommap::kScreenBytes)
        mapSurface.clear();  // a whole map covers every pixel; a short one leaves cells clear

    for (int s = 0; s < screens; ++s) {
        for (int c = 0; c < 8; ++c) {
            for (int r = 0; r < 6; ++r) {
                const std::size_t i = static_cast<std::size_t>(rommap::kScreenBytes * s + 6 * c + r);
                if (i >= scene.map.size())
                    continue;
                const std::uint8_t m = scene.map[i];
                copyCell(mapSurface, 256 * s + kMetatileSize * c, kMetatileSize * r, sheet, (m & 15) * kMetatileSize,
                         (m >> 4) * kMetatileSize);
            }
        }
    }
}

}  // namespace velmar
