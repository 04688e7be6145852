#pragma once

#include <vector>

#include "actors/sprite_frames.h"
#include "gfx/bitmap.h"
#include "gfx/tile_drawing.h"
#include "rom/scene_record.h"

namespace velmar {

// What actors are drawn with: the scene's two decoded banks, its palette memory and the rendered
// map surface that the pictures stand on.
struct ActorCanvas {
    const PixelArray& sprPatterns;
    const PixelArray& bkgPatterns;
    PaletteView palette;
    const Bitmap& map;
};

// Map-view X of an actor: (column + low nibble of packed) * 16.
constexpr int actorScreenX(std::uint8_t column, std::uint8_t packed) { return column * 16 + (packed & 0x0F) * 16; }

// Map-view Y of an actor's bottom edge: the row line of the packed byte's high nibble, less 54,
// wrapped to a byte (row 0 stands at 202, below the map).
constexpr int actorBottomY(std::uint8_t packed) { return ((packed & 0xF0) - 54) & 0xFF; }

// The small picture that stands for an actor on the map view: the sprite composed over a copy
// of the map behind it (transparent sprite pixels show the map with red's lowest bit set).
struct ActorPicture {
    Bitmap image;
    int left = 0;
    int top = 0;
    // The sprite could not be read (bad pointer, no sprites): a marked box stands in for it.
    bool placeholder = false;

    int width() const { return image.width(); }
    int height() const { return image.height(); }
};

// The frame's sprites on a surface of the key colour just big enough for them and the anchor,
// later sprites over earlier ones (their transparent pixels too, as the game's editor drew them).
// The anchor is at (anchorX, anchorY) of the image. A frame without sprites is an 8 x 8 surface
// of the key colour with the anchor at its top left.
struct ComposedFrame {
    Bitmap image;
    int anchorX = 0;
    int anchorY = 0;
};
// A palette shorter than 32 entries draws no sprite.
ComposedFrame composeFrame(const SpriteFrame& f, const PixelArray& sprPatterns, const PixelArray& bkgPatterns,
                           PaletteView palette);

// Composes frame f and places it: with placeDirectly, (a, c) is the picture's top left; else a is
// the column and c the packed position, and the picture's bottom stands on the row line.
// Fills f.left, f.top, f.width and f.height. A frame without sprites gets the placeholder.
ActorPicture drawActor(SpriteFrame& f, const ActorCanvas& canvas, int a, int c, bool placeDirectly);

// The placeholder picture for an actor whose sprite cannot be shown, placed like a 16 x 16 frame.
ActorPicture placeholderActor(const Bitmap& map, int a, int c, bool placeDirectly);

// The sprites of the three kinds of actor.
RomStatus enemySprite(const Bytes& rom, std::uint8_t id, SpriteFrame& out);
RomStatus itemSprite(const Bytes& rom, std::uint8_t itemAnimation, SpriteFrame& out);
RomStatus playerStartSprite(const Bytes& rom, SpriteFrame& out);

// One picture per enemy (placed by b and xy) and per item (by x and y), in list order, and the
// player start: left = startX - 8 (or, for a right-to-left scene, counted from the last screen's
// left edge), top = startY - 86.
std::vector<ActorPicture> drawAllEnemies(const Bytes& rom, const SceneRecord& scene, const ActorCanvas& canvas);
std::vector<ActorPicture> drawAllItems(const Bytes& rom, const SceneRecord& scene, const ActorCanvas& canvas);
ActorPicture drawPlayerStart(const Bytes& rom, const SceneRecord& scene, const ActorCanvas& canvas);

// Copies a picture onto a surface at its place (clipped), as the map view shows it.
void pastePicture(Bitmap& surface, const ActorPicture& picture);

}  // namespace velmar
