#pragma once

#include "actors/sprite_frames.h"
#include "gfx/bitmap.h"
#include "gfx/tile_drawing.h"

namespace velmar {

// Overview pictures of sprite frames: many frames side by side in cells of one size, each frame
// drawn as composeFrame draws it with its anchor at the same point of every cell, so that frames
// of different size line up as they do in the game. Each cell is boxed by a one-pixel line and
// topped by a band that carries its numbers. Everything else is the key colour, which the PNG
// writer can make transparent.
//
// Cells are as big as the widest reach of any of their frames from its anchor (at most 263 x 271
// pixels, since offsets reach 64 pixels left and up and 191 right and down), so one far-flung
// frame widens every cell: a full enemy set of such frames is about 4,260 x 4,500 pixels (77 MB).
// The frames are composed one at a time and never held together.

constexpr int kFrameSheetColumns = 16;

// The sheet's own colours: box lines and label bands, frame numbers, step timers, and the
// crossed box that stands in for a frame that cannot be read (a bad pointer).
constexpr ScreenColour kCellLineColour = rgb(128, 128, 128);
constexpr ScreenColour kCellLabelColour = rgb(255, 255, 255);
constexpr ScreenColour kCellTimerColour = rgb(255, 224, 128);
constexpr ScreenColour kUnreadableFrameColour = rgb(255, 0, 255);

// The crossed box in kUnreadableFrameColour over the w x h area at (x, y) that stands for a frame
// that cannot be read, wherever a frame is drawn.
void drawUnreadableFrame(Bitmap& surface, int x, int y, int w, int h);

// Frames 0..lastFrameIndex(set) in rows of kFrameSheetColumns (fewer columns when the set has
// fewer frames), each labelled with its number as two hexadecimal digits. Sprites come from the
// two banks in the sprite sub-palettes of the 32-byte palette memory. A set without frames gives
// an 8 x 8 picture of the key colour, as composeFrame gives for a frame without sprites.
Bitmap frameSheet(const Bytes& rom, FrameSet set, const PixelArray& sprPatterns, const PixelArray& bkgPatterns,
                  PaletteView palette);

// The frames of an animation's steps (the (timer, frame) pairs readAnimation gives; a last odd
// byte is ignored) left to right, one cell per step, each labelled with the frame's number on
// the left and the timer on the right. No steps give the 8 x 8 picture of the key colour.
Bitmap animationStrip(const Bytes& rom, FrameSet set, const Bytes& steps, const PixelArray& sprPatterns,
                      const PixelArray& bkgPatterns, PaletteView palette);

}  // namespace velmar
