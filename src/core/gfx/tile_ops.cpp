#include "gfx/tile_ops.h"

#include <algorithm>
#include <array>

namespace velmar {

namespace {

using Tile = std::array<std::uint8_t, 64>;

bool readTile(const PixelArray& pixels, std::uint8_t tile, Tile& out)
{
    const std::size_t first = static_cast<std::size_t>(tile) * 64;
    if (first + 64 > pixels.size())
        return false;
    std::copy_n(pixels.begin() + static_cast<std::ptrdiff_t>(first), 64, out.begin());
    return true;
}

void writeTile(PixelArray& pixels, std::uint8_t tile, const Tile& t)
{
    std::copy(t.begin(), t.end(), pixels.begin() + static_cast<std::ptrdiff_t>(tile) * 64);
}

}  // namespace

void shiftTile(PixelArray& pixels, std::uint8_t tile, int dx, int dy)
{
    Tile a;
    if (!readTile(pixels, tile, a))
        return;
    Tile r;
    for (int i = 0; i < 64; ++i)
        r[static_cast<std::size_t>(i)] = a[static_cast<std::size_t>((8 * dy + ((i + dx) & 7) + (i & 0x38)) & 63)];
    writeTile(pixels, tile, r);
}

void flipTile(PixelArray& pixels, std::uint8_t tile, bool mirrorLeftRight, bool mirrorTopBottom)
{
    Tile a;
    if (!readTile(pixels, tile, a))
        return;
    Tile b = a;
    for (std::size_t r = 0; r < 8; ++r) {
        for (std::size_t c = 0; c < 8; ++c) {
            const std::size_t fr = mirrorTopBottom ? 7 - r : r;
            const std::size_t fc = mirrorLeftRight ? 7 - c : c;
            b[r * 8 + c] = a[fr * 8 + fc];
        }
    }
    writeTile(pixels, tile, b);
}

void rotateTile(PixelArray& pixels, std::uint8_t tile)
{
    Tile a;
    if (!readTile(pixels, tile, a))
        return;
    Tile t;
    for (std::size_t r = 0; r < 8; ++r) {
        for (std::size_t c = 0; c < 8; ++c)
            t[r * 8 + c] = a[c * 8 + r];
    }
    writeTile(pixels, tile, t);
    flipTile(pixels, tile, false, true);
}

}  // namespace velmar
