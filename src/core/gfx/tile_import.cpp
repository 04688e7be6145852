#include "gfx/tile_import.h"

#include <string>

namespace velmar {

namespace {

std::string at(int x, int y) { return "(" + std::to_string(x) + ", " + std::to_string(y) + ")"; }

}  // namespace

Outcome<TileImportResult> importTileSheet(const Bitmap& sheet, const std::array<ScreenColour, 4>& colours, int scale,
                                          PixelArray& out)
{
    using R = Outcome<TileImportResult>;
    const int side = 128 * scale;
    if (scale < 1 || sheet.width() != side || sheet.height() != side) {
        const std::string want = std::to_string(scale < 1 ? 128 : side);
        return R::failure(TileImportResult::WrongSize,
                          "The picture must be " + want + " x " + want + " pixels, not " + std::to_string(sheet.width())
                              + " x " + std::to_string(sheet.height()));
    }
    for (std::size_t a = 0; a < 4; ++a) {
        for (std::size_t b = a + 1; b < 4; ++b) {
            if (colours[a] == colours[b])
                return R::failure(TileImportResult::SameColours,
                                  "Colours " + std::to_string(a) + " and " + std::to_string(b)
                                      + " of the sub-palette are the same; choose another sub-palette");
        }
    }
    PixelArray pixels(256 * 64, 0);
    for (int y = 0; y < side; ++y) {
        const ScreenColour* row = sheet.row(y);
        for (int x = 0; x < side; ++x) {
            const ScreenColour c = row[x];
            std::size_t value = 0;
            while (value < 4 && colours[value] != c)
                ++value;
            if (value == 4)
                return R::failure(TileImportResult::ForeignColour,
                                  "The pixel at " + at(x, y) + " is not one of the sub-palette's four colours");
            const int left = x - x % scale, top = y - y % scale;
            if (c != sheet.pixel(left, top)) {
                const std::string block = std::to_string(scale) + " x " + std::to_string(scale);
                return R::failure(TileImportResult::UnevenBlock,
                                  "The pixel at " + at(x, y) + " differs from the pixel at " + at(left, top) + ": each "
                                      + block + " block must be one colour");
            }
            const int px = x / scale, py = y / scale;
            const int tile = py / 8 * 16 + px / 8;
            pixels[static_cast<std::size_t>(tile * 64 + py % 8 * 8 + px % 8)] = static_cast<std::uint8_t>(value);
        }
    }
    out = std::move(pixels);
    return {};
}

}  // namespace velmar
