#pragma once

#include "rom/types.h"

namespace velmar {

// Decoded tiles: one byte per pixel (0..3), 64 bytes per tile, pixel (x, y) of tile t at
// t * 64 + y * 8 + x. Tiles in romData are 16 bytes: the low bit plane (rows 0-7), then the high
// plane; bit 7 of a row byte is the leftmost pixel.
using PixelArray = Bytes;

// Decodes `count` consecutive tiles from `address`. `pixels` is replaced only on success.
RomStatus decodeTiles(const Bytes& rom, RomOffset address, int count, PixelArray& pixels);
// Encodes `count` tiles back; only bits 0-1 of a pixel count. Nothing is written on failure.
RomStatus encodeTiles(Bytes& rom, const PixelArray& pixels, int count, RomOffset address);

// A 4 KB pattern bank of 256 tiles at 0x20000 + bank * 0x1000.
RomStatus loadChrBank(const Bytes& rom, PixelArray& pixels, int bank);

// The value (0..3) of pixel (x, y) of `tile`, 64 bytes per tile row by row; 0 outside the array.
inline std::uint8_t tilePixel(const PixelArray& pixels, int tile, int x, int y)
{
    const auto at = static_cast<std::size_t>(tile) * 64 + static_cast<std::size_t>(y) * 8 + static_cast<std::size_t>(x);
    return x >= 0 && x < 8 && y >= 0 && y < 8 && at < pixels.size() ? pixels[at] : 0;
}
RomStatus saveChrBank(Bytes& rom, const PixelArray& pixels, int bank);

}  // namespace velmar
