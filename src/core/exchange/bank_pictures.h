#pragma once

#include <array>

#include "editor/document.h"
#include "gfx/bitmap.h"
#include "gfx/tile_import.h"

namespace velmar::exchange {

// How storing a picture's tiles in a pattern bank ended: the picture's fault, or the edit's.
struct TileBankImport {
    Outcome<TileImportResult> picture;
    Outcome<EditResult> edit;
};

// The tiles of a sheet drawn as drawTileSheet draws them at `scale` in `colours` become pattern
// bank `bank`, as one "Import Tiles" step. When the picture does not read as tiles, nothing
// changes and `picture` says why.
TileBankImport importTileBank(Document& doc, int bank, const Bitmap& sheet, const std::array<ScreenColour, 4>& colours,
                              int scale);

// The picture of pattern bank `bank` the folder keeps: the tile sheet velmar-cli tiles writes,
// at 2x, in four greys that every palette could change without changing the picture.
Bitmap bankPicture(const Bytes& rom, int bank);
std::array<ScreenColour, 4> bankPictureColours();

}  // namespace velmar::exchange
