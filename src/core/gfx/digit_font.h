#pragma once

#include <string_view>

#include "gfx/bitmap.h"

namespace velmar {

// A 3 x 5 pixel font of the hexadecimal digits, for the numbers the program writes on its own
// pictures (frame sheets, animation strips). Each glyph advances 4 pixels.
constexpr int kDigitWidth = 3;
constexpr int kDigitHeight = 5;
constexpr int kDigitAdvance = 4;

// Draws the text with its top left at (x, y), clipped to the surface. 0-9, A-F and a-f are
// drawn; any other character leaves a glyph's room blank.
void drawHexText(Bitmap& surface, int x, int y, std::string_view text, ScreenColour colour);

// The width drawHexText covers: no trailing gap after the last glyph; 0 for no text.
constexpr int hexTextWidth(std::string_view text)
{
    return text.empty() ? 0 : static_cast<int>(text.size()) * kDigitAdvance - (kDigitAdvance - kDigitWidth);
}

}  // namespace velmar
