#include "gfx/metatile_render.h"

#include <cmath>

#include "rom/address_map.h"

namespace velmar {

namespace {

void drawMetatileAt(Bitmap& surface, const PixelArray& pixels, const MetatileTables& tables, std::uint8_t m, int x,
                    int y, PaletteView palette)
{
    const auto& def = tables.metatileDefs[m];
    for (int q = 0; q < 4; ++q) {
        const auto& sub = tables.subtileDefs[def[static_cast<std::size_t>(1 + q)]];
        const auto k = static_cast<std::uint8_t>(quadrantPalette(q, def[0]));
        for (int t = 0; t < 4; ++t) {
            drawTile(pixels, sub[static_cast<std::size_t>(t)], surface, x + 16 * (q / 2) + 8 * (t / 2),
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

}  // namespace

int quadrantPalette(int quarter, std::uint8_t attribute)
{
    // Quarter order is column-first; the attribute byte's is row-first.
    static constexpr int kShift[4] = {0, 4, 2, 6};
    return (attribute >> kShift[quarter & 3]) & 3;
}

void drawMetatileSheet(Bitmap& surface, const MetatileTables& tables, const PixelArray& pixels, int first, int extra,
                       PaletteView palette)
{
    surface.clear();
    if (palette.size() < 32)
        return;
    int cellX = 0;
    int cellY = 0;
    for (int m = first; m <= first + extra; ++m) {
        drawMetatileAt(surface, pixels, tables, static_cast<std::uint8_t>(m), 32 * cellX, 32 * cellY, palette);
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
    const auto& sub = tables.subtileDefs[s];
    for (int t = 0; t < 4; ++t)
        drawTile(pixels, sub[static_cast<std::size_t>(t)], surface, 8 * (t / 2), 8 * (t % 2), palette, subPalette);
    enlarge(surface, 16, scale);
}

void renderMap(Bitmap& mapSurface, const Bitmap& sheet, const SceneRecord& scene)
{
    const int width = mapWidth(scene);
    if (mapSurface.width() != width || mapSurface.height() != kMapHeight)
        mapSurface.resize(width, kMapHeight);
    else
        mapSurface.clear();
    const int screens = scene.length + 1;
    for (int s = 0; s < screens; ++s) {
        for (int c = 0; c < 8; ++c) {
            for (int r = 0; r < 6; ++r) {
                const std::size_t i = static_cast<std::size_t>(rommap::kScreenBytes * s + 6 * c + r);
                if (i >= scene.map.size())
                    continue;
                const std::uint8_t m = scene.map[i];
                blit(mapSurface, 256 * s + 32 * c, 32 * r, 32, 32, sheet, (m & 15) * 32, (m >> 4) * 32);
            }
        }
    }
}

}  // namespace velmar
