// banks/NN.png: the 32 pattern banks as the tile sheets velmar-cli tiles and import-tiles use.
#include "exchange/bank_pictures.h"

#include "editor/edits.h"
#include "exchange/folder_section.h"
#include "gfx/png_file.h"
#include "gfx/tile_drawing.h"
#include "rom/address_map.h"
#include "base/hex.h"

namespace velmar::exchange {

namespace {

constexpr int kScale = 2;

// Sub-palette 0 of a palette memory of black, dark grey, light grey and white: four NES
// colours that no two look alike, so every pixel's value reads back.
constexpr std::array<std::uint8_t, 32> kGreys = {0x0F, 0x00, 0x10, 0x30};

}  // namespace

std::array<ScreenColour, 4> bankPictureColours() { return tileSheetColours(kGreys, 0); }

Bitmap bankPicture(const Bytes& rom, int bank)
{
    PixelArray pixels;
    if (!loadChrBank(rom, pixels, bank).ok())
        return {};
    Bitmap sheet(128 * kScale, 128 * kScale, 0);
    drawTileSheet(sheet, pixels, kGreys, 0, kScale);
    return sheet;
}

FolderPart bankPart(int bank)
{
    const auto describe = [bank](const Document& doc) -> std::optional<Bytes> {
        const Bitmap sheet = bankPicture(doc.romData(), bank);
        if (sheet.width() == 0)
            return std::nullopt;
        return encodePng(sheet);
    };
    // A missing picture is a bank of blank tiles: a sheet in colour 0 throughout.
    const auto blank = [bank](Document& doc) {
        const Bitmap sheet(128 * kScale, 128 * kScale, bankPictureColours()[0]);
        return edits::importTiles(doc, bank, sheet, bankPictureColours(), kScale).edit.ok();
    };
    const auto apply = [bank](Document& doc, const Bytes& file) {
        Bitmap sheet;
        if (const Outcome<ImageReadResult> r = decodePng(file, sheet); !r.ok())
            return badFile(r.reason);
        const edits::TileImport r = edits::importTiles(doc, bank, sheet, bankPictureColours(), kScale);
        if (!r.picture.ok())
            return badFile(r.picture.reason);
        if (!r.edit.ok())
            return badFile(r.edit.reason.empty() ? "the tiles could not be stored" : r.edit.reason);
        return FolderOutcome{};
    };
    return {"banks/" + hexPad(bank, 2) + ".png", describe, blank, apply};
}

}  // namespace velmar::exchange
