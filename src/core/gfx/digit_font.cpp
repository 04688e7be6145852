#include "gfx/digit_font.h"

#include <array>
#include <cstdint>

#include "base/hex.h"

namespace velmar {

namespace {

// One row per byte, top first; bit 2 is the left pixel.
using Glyph = std::array<std::uint8_t, kDigitHeight>;

constexpr std::array<Glyph, 16> kGlyphs{{
    {0b111, 0b101, 0b101, 0b101, 0b111},  // 0
    {0b010, 0b110, 0b010, 0b010, 0b111},  // 1
    {0b111, 0b001, 0b111, 0b100, 0b111},  // 2
    {0b111, 0b001, 0b111, 0b001, 0b111},  // 3
    {0b101, 0b101, 0b111, 0b001, 0b001},  // 4
    {0b111, 0b100, 0b111, 0b001, 0b111},  // 5
    {0b111, 0b100, 0b111, 0b101, 0b111},  // 6
    {0b111, 0b001, 0b001, 0b010, 0b010},  // 7
    {0b111, 0b101, 0b111, 0b101, 0b111},  // 8
    {0b111, 0b101, 0b111, 0b001, 0b111},  // 9
    {0b010, 0b101, 0b111, 0b101, 0b101},  // A
    {0b110, 0b101, 0b110, 0b101, 0b110},  // B
    {0b011, 0b100, 0b100, 0b100, 0b011},  // C
    {0b110, 0b101, 0b101, 0b101, 0b110},  // D
    {0b111, 0b100, 0b110, 0b100, 0b111},  // E
    {0b111, 0b100, 0b110, 0b100, 0b100},  // F
}};

}  // namespace

void drawHexText(Bitmap& surface, int x, int y, std::string_view text, ScreenColour colour)
{
    for (const char c : text) {
        if (const int g = hexDigitValue(c); g >= 0) {
            const Glyph& glyph = kGlyphs[static_cast<std::size_t>(g)];
            for (int row = 0; row < kDigitHeight; ++row) {
                for (int col = 0; col < kDigitWidth; ++col) {
                    if ((glyph[static_cast<std::size_t>(row)] >> (kDigitWidth - 1 - col)) & 1)
                        surface.setPixel(x + col, y + row, colour);
                }
            }
        }
        x += kDigitAdvance;
    }
}

}  // namespace velmar
