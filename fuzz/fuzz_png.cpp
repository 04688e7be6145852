// libFuzzer target: PNG files read as pictures, and as tile sheets by the import's rules.
//
// The input is a PNG file (anything after its end is passed over by the reader); its last byte
// picks the sub-palette of the first scene that a tile sheet is read in, at 2x as `tiles` writes
// it and velmar-cli and the editor import it.
//
// Promises checked:
//  - a refused file leaves the picture as it was;
//  - a picture read is 1 to 4096 pixels a side, in screen colours;
//  - a picture written as PNG reads back as the same pixels;
//  - a sheet the import takes is the sheet its tiles draw again; a refused import leaves the
//    tiles as they were.

#include "fuzz_support.h"
#include "gfx/png_file.h"
#include "gfx/tile_drawing.h"
#include "gfx/tile_import.h"
#include "rom/scene_codec.h"

namespace {

using namespace velmar;

const std::array<std::uint8_t, 32>& firstScenePalette()
{
    static const std::array<std::uint8_t, 32> palette = [] {
        SceneRecord scene;
        if (!loadScene(fuzz::sampleImage().romData, 0, 0, scene).ok())
            fuzz::broken("the sample's first scene does not load");
        return scene.palette;
    }();
    return palette;
}

void importSheet(const Bitmap& picture, std::uint8_t subPalette)
{
    const auto colours = tileSheetColours(firstScenePalette(), subPalette);
    const PixelArray untouched(256 * 64, 9);
    PixelArray tiles = untouched;
    if (!importTileSheet(picture, colours, 2, tiles).ok()) {
        if (tiles != untouched)
            fuzz::broken("a refused import changed the tiles");
        return;
    }
    Bitmap again(256, 256, 0);
    drawTileSheet(again, tiles, firstScenePalette(), subPalette, 2);
    if (again.pixels() != picture.pixels())
        fuzz::broken("an imported sheet does not draw again as it was read");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const auto subPalette = static_cast<std::uint8_t>(in.ConsumeIntegral<std::uint8_t>() % 8);
    const std::vector<std::uint8_t> file = in.ConsumeRemainingBytes<std::uint8_t>();

    const Bitmap untouched(3, 1, rgb(1, 2, 3));
    Bitmap picture = untouched;
    if (!decodePng(file, picture).ok()) {
        if (picture != untouched)
            fuzz::broken("a refused PNG changed the picture");
        return 0;
    }
    if (picture.width() < 1 || picture.height() < 1 || picture.width() > kMaxPictureSide
        || picture.height() > kMaxPictureSide)
        fuzz::broken("a picture read has a size no picture is read with");
    for (const ScreenColour c : picture.pixels()) {
        if (c > 0xFFFFFF)
            fuzz::broken("a picture read has a pixel that is no screen colour");
    }

    Bitmap again;
    if (!decodePng(encodePng(picture), again).ok() || again.pixels() != picture.pixels()
        || again.width() != picture.width())
        fuzz::broken("a picture written as PNG does not read back as the same pixels");

    importSheet(picture, subPalette);
    return 0;
}
