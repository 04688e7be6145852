#pragma once

#include <array>
#include <cstdint>

namespace velmar {

// A colour on screen: red + 256 * green + 65536 * blue, each channel 0..255.
using ScreenColour = std::uint32_t;

constexpr ScreenColour rgb(int r, int g, int b)
{
    return static_cast<ScreenColour>(r) | (static_cast<ScreenColour>(g) << 8) | (static_cast<ScreenColour>(b) << 16);
}
constexpr int redOf(ScreenColour c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(ScreenColour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(ScreenColour c) { return static_cast<int>((c >> 16) & 0xFF); }

// Marks transparent sprite pixels: nearly black, and produced by no NES colour.
constexpr ScreenColour kKeyColour = rgb(1, 0, 0);
// A palette byte of this value draws in the key colour.
constexpr std::uint8_t kKeyColourIndex = 64;

// The NES colour (0..63) as the screen shows it. `monochrome` keeps only the brightness row
// (index AND 0x30) and ignores emphasis; otherwise the low three bits of `emphasis` (red, green,
// blue, as the PPU mask register's bits 5-7) scale the channels, rounding half to even and
// clamping at 255. Indexes outside 0..63 are black.
ScreenColour nesColorToRgb(int index, bool monochrome, int emphasis);

// True for the NES colours dark enough that text drawn over one reads only in a light colour:
// 0x01-0x03, 0x08-0x0F, 0x1D-0x1F, 0x2E, 0x2F, 0x3E and 0x3F. The blacks of columns xD-xF count,
// the grey 0x2D and the darker reds and purples 0x04-0x07 do not.
bool isDarkNesColour(std::uint8_t n);

// The 64 plain NES colours and the key colour at entry 64.
using NesRgbTable = std::array<ScreenColour, 65>;
NesRgbTable buildNesRgbTable();
const NesRgbTable& nesRgbTable();

// The colour tile drawing gives a palette byte: 64 is the key colour; above that, only the low
// six bits count, as in the PPU's palette memory.
inline ScreenColour paletteByteColour(std::uint8_t value)
{
    return nesRgbTable()[value == kKeyColourIndex ? kKeyColourIndex : (value & 0x3F)];
}

}  // namespace velmar
