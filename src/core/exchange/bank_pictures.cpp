// banks/NN.png: the 32 pattern banks as the tile sheets velmar-cli tiles and import-tiles use.
#include "exchange/bank_pictures.h"

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

TileBankImport importTileBank(Document& doc, int bank, const Bitmap& sheet, const std::array<ScreenColour, 4>& colours,
                              int scale)
{
    TileBankImport result;
    PixelArray pixels;
    if (const RomStatus status = loadChrBank(doc.romData(), pixels, bank); !status.ok()) {
        result.edit = Outcome<EditResult>::failure(EditResult::Refused, status.message());
        return result;
    }
    result.picture = importTileSheet(sheet, colours, scale, pixels);
    if (!result.picture.ok()) {
        result.edit.code = EditResult::Refused;
        return result;
    }
    result.edit = doc.edit({"Import Tiles", part::Patterns, Document::kFocusNone},
                           [&](EditContext& c) { return saveChrBank(c.image(), pixels, bank).ok(); });
    return result;
}

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
    const auto blank = [bank](Document& doc) {
        const Outcome<EditResult> r =
            doc.edit({"Import Tiles", part::Patterns, Document::kFocusNone},
                     [&](EditContext& c) { return saveChrBank(c.image(), PixelArray(256 * 64, 0), bank).ok(); });
        return r.ok() || r.code == EditResult::NoChange;
    };
    const auto apply = [bank](Document& doc, const Bytes& file) {
        Bitmap sheet;
        if (const Outcome<ImageReadResult> r = decodePng(file, sheet); !r.ok())
            return badFile(r.reason);
        const TileBankImport r = importTileBank(doc, bank, sheet, bankPictureColours(), kScale);
        if (!r.picture.ok())
            return badFile(r.picture.reason);
        if (!r.edit.ok() && r.edit.code != EditResult::NoChange)
            return badFile(r.edit.reason.empty() ? "the tiles could not be stored" : r.edit.reason);
        return FolderOutcome{};
    };
    return {"banks/" + hexPad(bank, 2) + ".png", describe, blank, apply};
}

}  // namespace velmar::exchange
