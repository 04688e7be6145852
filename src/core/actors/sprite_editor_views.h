#pragma once

#include <optional>
#include <string>

#include "actors/sprite_frames.h"
#include "gfx/bitmap.h"
#include "gfx/tile_drawing.h"

namespace velmar {

// The frame editor shows a frame at 2x in a 360 x 360 view, its origin at native (80, 80); the
// animation preview shows one at 1x in 192 x 192, with the same origin. Offsets are added to the
// origin modulo 256, so 0x80..0xFF act as negative offsets and 0xB0 lands on the left edge.
constexpr int kFrameViewSize = 360;
constexpr int kPreviewSize = 192;
constexpr int kFrameOrigin = 80;

// Where a frame's sprite stands in the frame editor view, in view pixels: 16 x 32, drawn one
// sprite half (8 native pixels) above its stored Y, so offsets (0, 0) put its top left at
// (160, 144).
struct ViewRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool contains(int x, int y) const { return x >= left && y >= top && x < left + width && y < top + height; }
    bool operator==(const ViewRect&) const = default;
};
ViewRect frameSpriteRect(const FrameTile& t);

// What the sprite drawing reads: the two banks and the 32-byte palette memory.
struct SpriteArt {
    const PixelArray& sprPatterns;
    const PixelArray& bkgPatterns;
    PaletteView palette;
};

// One 8 x 16 sprite at 1x: an even tile number t is tiles t and t + 1 of the sprite bank, an odd
// one tiles t - 1 and t of the background bank; attribute bit 7 puts the lower half on top, and
// the attribute's palette and mirror bits apply to each half. Pixel value 0 is the key colour.
Bitmap drawSpritePair(std::uint8_t tileId, std::uint8_t attributes, const SpriteArt& art);

// The frame editor's picture: every sprite as an opaque 16 x 32 box (transparent pixels in the
// key colour, so each hardware sprite's extent shows) over `backColour`, in list order, with
// sprite `front` (when it exists) drawn last, over the others.
void drawFrameEditor(Bitmap& view, const SpriteFrame& f, const SpriteArt& art, int front, ScreenColour backColour);

// The sprite the user points at in the frame editor: `front` when it is under the point, else
// the last one in list order; -1 for none.
int frameSpriteAt(const SpriteFrame& f, int x, int y, int front);

// The animation preview: the scene's background colour (palette entry 0), `onion` (the step
// before, when given) faintly, then `frame`, sprites at 1x with their transparent pixels clear.
// A frame that cannot be read (nullptr) is the crossed box the animation strip shows for it, on
// the origin.
void drawAnimationPreview(Bitmap& view, const SpriteFrame* frame, const SpriteFrame* onion, const SpriteArt& art);

// What frame number `frame` of an animation step shows with the frames of `set`, in one line: a
// frame of the table, one past its last frame (which the game reads from whatever follows the
// table, as the preview and the strip draw it), or one that cannot be read.
std::string animationFrameMeaning(const Bytes& rom, FrameSet set, std::uint8_t frame);

// The step before step `step` of an animation of `stepCount` steps, the last one before the
// first; nullopt when there is no other step.
std::optional<int> previousStep(int step, int stepCount);

}  // namespace velmar
