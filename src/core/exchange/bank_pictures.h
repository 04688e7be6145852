#pragma once

#include <array>

#include "editor/document.h"
#include "gfx/bitmap.h"

namespace velmar::exchange {

// The picture of pattern bank `bank` the folder keeps: the tile sheet velmar-cli tiles writes,
// at 2x, in four greys that every palette could change without changing the picture.
Bitmap bankPicture(const Bytes& rom, int bank);
std::array<ScreenColour, 4> bankPictureColours();

}  // namespace velmar::exchange
