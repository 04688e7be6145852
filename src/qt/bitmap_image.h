#pragma once

#include <QColor>
#include <QImage>

#include "gfx/bitmap.h"
// The editor reads and writes PNG files with the core's loadBitmapPng and saveBitmapPng, as
// velmar-cli does, so that both write the same pictures.
#include "gfx/png_file.h"

namespace velmar {

// A core bitmap (red + 256 green + 65536 blue) as an opaque Qt image, pixel for pixel.
QImage toQImage(const Bitmap& bitmap);
// The part of the bitmap at (x, y) of the given size, which must lie inside it.
QImage toQImage(const Bitmap& bitmap, int x, int y, int width, int height);
QColor toQColor(ScreenColour colour);
// The bitmap as an ARGB32 image whose pixels of colour `transparentKey` are fully transparent
// (alpha 0) and all others opaque.
QImage toKeyedQImage(const Bitmap& bitmap, ScreenColour transparentKey);

}  // namespace velmar
