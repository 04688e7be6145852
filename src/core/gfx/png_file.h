#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/file_writer.h"
#include "gfx/bitmap.h"
#include "base/outcome.h"
#include "rom/types.h"

// PNG pictures: the tile sheets the user exports and imports, the maps, metatile sheets and frame
// sheets the editor and velmar-cli write. Decoding and encoding are stb_image's.
namespace velmar {

// How reading a picture ended.
enum class ImageReadResult { Ok = 0, Unreadable = 1 };

// A picture of tiles is small; these bounds only keep a broken or hostile file from making the
// reader allocate gigabytes.
inline constexpr std::uintmax_t kMaxPictureFileBytes = 64u << 20;
inline constexpr int kMaxPictureSide = 4096;

// Decodes the bytes of a PNG file into `out` in the core's colours, alpha dropped. Every kind of
// PNG is read: grey, palette or true colour, with alpha or without, 1 to 16 bits, interlaced or
// not; 16-bit samples are rounded to the nearest 8-bit value. The size the header claims is
// checked before anything that large is made. On failure `out` is untouched and the reason says
// what is wrong with the file.
Outcome<ImageReadResult> decodePng(const Bytes& file, Bitmap& out);

// Reads a PNG file (path in UTF-8) by the rules of every reader here (a regular file only, up to
// 64 MB) and decodes it.
Outcome<ImageReadResult> loadBitmapPng(const std::string& path, Bitmap& out);

// The bitmap as a PNG file: 8-bit RGB, or with a transparent key 8-bit RGBA in which pixels of
// that colour are fully transparent (and black) and all others opaque. Empty for an empty bitmap.
Bytes encodePng(const Bitmap& bitmap, std::optional<ScreenColour> transparentKey = std::nullopt);

// Writes encodePng's bytes (path in UTF-8), whole or not at all, as writeFileSafely does for a
// file of the user's.
Outcome<WriteResult> saveBitmapPng(const Bitmap& bitmap, const std::string& path,
                                   std::optional<ScreenColour> transparentKey = std::nullopt);

}  // namespace velmar
