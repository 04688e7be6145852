#pragma once

#include <optional>
#include <string>

#include <QColor>
#include <QImage>

#include "files/file_writer.h"
#include "gfx/bitmap.h"

namespace velmar {

// A core bitmap (red + 256 green + 65536 blue) as an opaque Qt image, pixel for pixel.
QImage toQImage(const Bitmap& bitmap);
// The part of the bitmap at (x, y) of the given size, which must lie inside it.
QImage toQImage(const Bitmap& bitmap, int x, int y, int width, int height);
QColor toQColor(ScreenColour colour);
// The bitmap as an ARGB32 image whose pixels of colour `transparentKey` are fully transparent
// (alpha 0) and all others opaque.
QImage toKeyedQImage(const Bitmap& bitmap, ScreenColour transparentKey);

// How reading a picture ended.
enum class ImageReadResult { Ok = 0, Unreadable = 1 };

// Reads a picture file (PNG or any format Qt reads; path in UTF-8) into `out` in the core's
// colours, alpha dropped. On failure `out` is untouched and the reason is the reader's.
Outcome<ImageReadResult> loadBitmapPng(const std::string& path, Bitmap& out);

// Writes the bitmap as a PNG file (path in UTF-8), whole or not at all, as writeFileSafely does.
// With a transparent key, pixels of that colour are written fully transparent (as toKeyedQImage).
Outcome<WriteResult> saveBitmapPng(const Bitmap& bitmap, const std::string& path,
                                   std::optional<ScreenColour> transparentKey = std::nullopt);

}  // namespace velmar
