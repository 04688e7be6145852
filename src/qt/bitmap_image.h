#pragma once

#include <string>

#include <QColor>
#include <QImage>

#include "files/file_writer.h"
#include "gfx/bitmap.h"

namespace velmar {

// A core bitmap (red + 256 green + 65536 blue) as an opaque Qt image, pixel for pixel.
QImage toQImage(const Bitmap& bitmap);
QColor toQColor(ScreenColour colour);

// Writes the bitmap as a PNG file (path in UTF-8), whole or not at all, as writeFileSafely does.
Outcome<WriteResult> saveBitmapPng(const Bitmap& bitmap, const std::string& path);

}  // namespace velmar
