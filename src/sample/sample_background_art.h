#pragma once

#include <cstdint>

#include "gfx/pattern_tiles.h"
#include "sample/sample_plan.h"

namespace velmar::sample {

// The 16x16 pictures of a background bank. Picture n fills tiles 4n .. 4n+3 in subtile order
// (top left, bottom left, top right, bottom right), so subtile n of the identity subtile table
// shows it. Every theme draws the same pictures in its own style; each picture is drawn for
// one sub-palette role:
//   0 shared greys (clouds, stone blocks, spikes, letters)
//   1 earth (floor, ladders, planks, doors, torches)
//   2 plants (leaves, bushes, hills, reeds)
//   3 masonry and water (bricks, back walls, water)
enum class Image : std::uint8_t {
    Blank,
    Detail,
    CloudL,
    CloudR,
    FloorTop,
    Fill,
    FloorEdgeL,
    FloorEdgeR,
    FillEdgeL,
    FillEdgeR,
    Brick,
    Block,
    Ladder,
    WaterTop,
    Water,
    PillarL,
    PillarR,
    CapL,
    CapR,
    LeafTL,
    LeafBL,
    LeafTR,
    LeafBR,
    BushL,
    BushR,
    Spikes,
    Platform,
    BackWall,
    WindowTop,
    WindowBottom,
    DoorTop,
    DoorBottom,
    Torch,
    SlopeUp,
    SlopeDown,
    Fence,
    Rock,
    Battlement,
    Chain,
    Reeds,
    Count
};
constexpr int kImageCount = static_cast<int>(Image::Count);

// Digits 0-9 then letters A-Z of every background bank, for signs and counters.
constexpr int kBankGlyphTile = 0xDC;

// A background bank in the given theme (variant 0 or 1 changes textures and details).
PixelArray drawBackgroundBank(Theme theme, int variant);

// The font bank: each glyph at the tile of its text code (0x20-0x7E), lower case drawn as
// upper case.
PixelArray drawFontBank();

// Draws the 8x8 glyph of an ASCII character (digits, letters, punctuation; anything else blank)
// into the tile, in colour 3.
void drawGlyph(PixelArray& bank, int tile, char c);

}  // namespace velmar::sample
