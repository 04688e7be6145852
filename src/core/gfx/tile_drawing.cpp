#include "gfx/tile_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace velmar {

namespace {

// The four screen colours of one sub-palette.
using SubPaletteColours = std::array<ScreenColour, 4>;

void plotTile(const PixelArray& pixels, std::size_t first, Bitmap& surface, int x, int y, const SubPaletteColours& c)
{
    const bool whole = first + 64 <= pixels.size();
    if (whole && x >= 0 && y >= 0 && x + 8 <= surface.width() && y + 8 <= surface.height()) {
        const std::uint8_t* p = pixels.data() + first;
        for (int row = 0; row < 8; ++row) {
            ScreenColour* out = surface.row(y + row) + x;
            for (int col = 0; col < 8; ++col)
                out[col] = c[*p++ & 3];
        }
        return;
    }
    for (int row = 0; row < 8; ++row) {
        for (int col = 0; col < 8; ++col) {
            const std::size_t i = first + static_cast<std::size_t>(row * 8 + col);
            const std::uint8_t v = i < pixels.size() ? (pixels[i] & 3) : 0;
            surface.setPixel(x + col, y + row, c[v]);
        }
    }
}

SubPaletteColours tableColours(PaletteView palette, std::uint8_t subPalette)
{
    const std::size_t base = static_cast<std::size_t>(subPalette & 7) * 4;
    return {paletteByteColour(palette[base]), paletteByteColour(palette[base + 1]),
            paletteByteColour(palette[base + 2]), paletteByteColour(palette[base + 3])};
}

}  // namespace

DrawResult drawTile(const PixelArray& pixels, std::uint8_t tile, Bitmap& surface, int x, int y, PaletteView palette,
                    std::uint8_t subPalette)
{
    if (palette.size() < 32)
        return DrawResult::ShortPalette;
    plotTile(pixels, static_cast<std::size_t>(tile) * 64, surface, x, y, tableColours(palette, subPalette));
    return DrawResult::Ok;
}

DrawResult drawTileDirect(const PixelArray& pixels, int pixelOffset, Bitmap& surface, int x, int y, PaletteView palette,
                          std::uint8_t subPalette)
{
    if (palette.size() < 32)
        return DrawResult::ShortPalette;
    const std::size_t base = static_cast<std::size_t>(subPalette & 7) * 4;
    SubPaletteColours c{};
    for (std::size_t v = 0; v < 4; ++v)
        c[v] = nesColorToRgb(palette[base + v] & 0x3F, false, 0);
    if (pixelOffset < 0)
        pixelOffset = static_cast<int>(pixels.size());  // draws as value 0
    plotTile(pixels, static_cast<std::size_t>(pixelOffset), surface, x, y, c);
    return DrawResult::Ok;
}

DrawResult drawSpriteTile(const PixelArray& pixels, std::uint8_t tile, Bitmap& surface, int x, int y, int attributes,
                          PaletteView palette)
{
    if (palette.size() < 32)
        return DrawResult::ShortPalette;
    // Colour 0 of every sprite sub-palette draws in the key colour, on a copy of the palette.
    std::array<std::uint8_t, 32> keyed{};
    std::copy_n(palette.begin(), 32, keyed.begin());
    for (std::size_t k : {16u, 20u, 24u, 28u})
        keyed[k] = kKeyColourIndex;
    // `keyed` holds all 32 entries, so the tile is drawn.
    (void)drawTile(pixels, tile, surface, x, y, keyed, static_cast<std::uint8_t>((attributes & 3) + 4));
    switch (attributes & 0xC0) {
    case 0x40: stretchBlit(surface, x, y, 8, 8, surface, x + 7, y, -8, 8); break;
    case 0x80: stretchBlit(surface, x, y, 8, 8, surface, x, y + 7, 8, -8); break;
    case 0xC0: stretchBlit(surface, x, y, 8, 8, surface, x + 7, y + 7, -8, -8); break;
    default: break;
    }
    return DrawResult::Ok;
}

std::array<ScreenColour, 4> tileSheetColours(PaletteView palette, std::uint8_t subPalette)
{
    SubPaletteColours c{};
    if (palette.size() < 32)
        return c;
    const std::size_t base = static_cast<std::size_t>(subPalette & 7) * 4;
    for (std::size_t v = 0; v < 4; ++v)
        c[v] = nesColorToRgb(palette[base + v] & 0x3F, false, 0);
    return c;
}

void drawTileSheet(Bitmap& surface, const PixelArray& pixels, PaletteView palette, std::uint8_t subPalette,
                   double scale)
{
    surface.clear();
    if (palette.size() < 32)
        return;
    // Every tile is drawn as drawTileDirect draws it; its four colours are the same for all.
    const SubPaletteColours c = tileSheetColours(palette, subPalette);
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 16; ++column)
            plotTile(pixels, static_cast<std::size_t>(row * 1024 + column * 64), surface, column * 8, row * 8, c);
    }
    const int size = static_cast<int>(std::lround(256 * scale));
    if (size != 256)
        stretchBlit(surface, 0, 0, size, size, surface, 0, 0, 256, 256);
}

void copyTile(const PixelArray& src, std::uint8_t srcTile, PixelArray& dst, std::uint8_t dstTile)
{
    const std::size_t from = static_cast<std::size_t>(srcTile) * 64;
    const std::size_t to = static_cast<std::size_t>(dstTile) * 64;
    if (from + 64 > src.size() || to + 64 > dst.size())
        return;
    if (&src == &dst && from == to)
        return;
    std::copy_n(src.begin() + static_cast<std::ptrdiff_t>(from), 64, dst.begin() + static_cast<std::ptrdiff_t>(to));
}

void drawTileZoomed(Bitmap& surface, const PixelArray& pixels, std::uint8_t tile, PaletteView palette,
                    std::uint8_t subPalette)
{
    if (surface.width() != 64 || surface.height() != 64)
        surface = Bitmap(64, 64, 0);
    if (drawTile(pixels, tile, surface, 0, 0, palette, subPalette) != DrawResult::Ok)
        return;  // a short palette draws nothing
    stretchBlit(surface, 0, 0, 64, 64, surface, 0, 0, 8, 8);
}

}  // namespace velmar
