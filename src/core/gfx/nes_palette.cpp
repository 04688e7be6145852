#include "gfx/nes_palette.h"

#include <algorithm>
#include <cmath>

namespace velmar {

namespace {

// The base colours, RRGGBB, by NES colour number. Columns xE and xF are not pure black; only 0x0D is.
constexpr std::uint32_t kBase[64] = {
    0x808080, 0x003DA6, 0x0012B0, 0x440096, 0xA1005E, 0xC70028, 0xBA0600, 0x8C1700, 0x5C2F00, 0x104500, 0x054A00,
    0x00472E, 0x004166, 0x000000, 0x050505, 0x050505, 0xC7C7C7, 0x0077FF, 0x2155FF, 0x8237FA, 0xEB2FB5, 0xFF2950,
    0xFF2200, 0xD63200, 0xC46200, 0x358000, 0x058F00, 0x008A55, 0x0099CC, 0x212121, 0x090909, 0x090909, 0xFFFFFF,
    0x0FD7FF, 0x69A2FF, 0xD480FF, 0xFF45F3, 0xFF618B, 0xFF8833, 0xFF9C12, 0xFABC20, 0x9FE30E, 0x2BF035, 0x0CF0A4,
    0x05FBFF, 0x5E5E5E, 0x0D0D0D, 0x0D0D0D, 0xFFFFFF, 0xA6FCFF, 0xB3ECFF, 0xDAABEB, 0xFFA8F9, 0xFFABB3, 0xFFD2B0,
    0xFFEFA6, 0xFFF79C, 0xD7E895, 0xA6EDAF, 0xA2F2DA, 0x99FFFC, 0xDDDDDD, 0x111111, 0x111111,
};

// Channel multipliers (red, green, blue) for each emphasis set.
constexpr double kEmphasis[8][3] = {
    {1.00, 1.00, 1.00}, {1.00, 0.80, 0.81}, {0.78, 0.94, 0.66}, {0.79, 0.77, 0.63},
    {0.82, 0.83, 1.12}, {0.81, 0.71, 0.87}, {0.68, 0.79, 0.79}, {0.70, 0.70, 0.70},
};

int scaleChannel(int base, double factor)
{
    // nearbyint rounds half to even in the default rounding mode.
    return std::min(255, static_cast<int>(std::nearbyint(base * factor)));
}

}  // namespace

ScreenColour nesColorToRgb(int index, bool monochrome, int emphasis)
{
    const double* factors = kEmphasis[0];
    if (monochrome)
        index &= 0x30;
    else
        factors = kEmphasis[emphasis & 7];
    if (index < 0 || index > 63)
        return 0;
    const std::uint32_t c = kBase[index];
    return rgb(scaleChannel(static_cast<int>((c >> 16) & 0xFF), factors[0]),
               scaleChannel(static_cast<int>((c >> 8) & 0xFF), factors[1]),
               scaleChannel(static_cast<int>(c & 0xFF), factors[2]));
}

bool isDarkNesColour(std::uint8_t n)
{
    return (n >= 0x01 && n <= 0x03) || (n >= 0x08 && n <= 0x0F) || (n >= 0x1D && n <= 0x1F) || n == 0x2E || n == 0x2F
        || n == 0x3E || n == 0x3F;
}

NesRgbTable buildNesRgbTable()
{
    NesRgbTable table{};
    for (int n = 0; n < 64; ++n)
        table[static_cast<std::size_t>(n)] = nesColorToRgb(n, false, 0);
    table[kKeyColourIndex] = kKeyColour;
    return table;
}

const NesRgbTable& nesRgbTable()
{
    static const NesRgbTable table = buildNesRgbTable();
    return table;
}

}  // namespace velmar
