#include "actors/sprite_editor_views.h"

#include <algorithm>

#include "actors/frame_sheet.h"
#include "base/hex.h"

namespace velmar {

namespace {

// How much of an onion-skin pixel is the step before's colour, in 256ths.
constexpr int kOnionOpacity = 90;
// The crossed box for a frame that cannot be read, as the animation strip's smallest.
constexpr int kUnreadableMarkerSize = 16;

int spriteCount(const SpriteFrame& f)
{
    return std::min<int>(f.tileCount, static_cast<int>(std::min(f.tiles.size(), f.attributes.size())));
}

void drawPreviewSprites(Bitmap& view, const SpriteFrame& f, const SpriteArt& art, int opacity)
{
    for (int i = 0; i < spriteCount(f); ++i) {
        const FrameTile& t = f.tiles[static_cast<std::size_t>(i)];
        const Bitmap pair = drawSpritePair(t.tileId, f.attributes[static_cast<std::size_t>(i)], art);
        blitKeyed(view, (t.offsetX + kFrameOrigin) & 0xFF, (t.offsetY + kFrameOrigin) & 0xFF, pair, kKeyColour,
                  opacity);
    }
}

}  // namespace

ViewRect frameSpriteRect(const FrameTile& t)
{
    const int x = (t.offsetX + kFrameOrigin) & 0xFF;
    const int y = (((t.offsetY + kFrameOrigin) & 0xFF) - 8) & 0xFF;
    return {2 * x, 2 * y, 16, 32};
}

Bitmap drawSpritePair(std::uint8_t tileId, std::uint8_t attributes, const SpriteArt& art)
{
    Bitmap pair(8, 16, kKeyColour);
    const bool fromBkg = (tileId & 1) != 0;
    const PixelArray& bank = fromBkg ? art.bkgPatterns : art.sprPatterns;
    const auto upper = static_cast<std::uint8_t>(tileId & 0xFE);
    const auto lower = static_cast<std::uint8_t>(upper + 1);
    const bool flipped = (attributes & 0x80) != 0;
    // A short palette draws neither half: the pair stays in the key colour.
    if (drawSpriteTile(bank, flipped ? lower : upper, pair, 0, 0, attributes, art.palette) == DrawResult::Ok)
        (void)drawSpriteTile(bank, flipped ? upper : lower, pair, 0, 8, attributes, art.palette);
    return pair;
}

void drawFrameEditor(Bitmap& view, const SpriteFrame& f, const SpriteArt& art, int front, ScreenColour backColour)
{
    if (view.width() != kFrameViewSize || view.height() != kFrameViewSize)
        view = Bitmap(kFrameViewSize, kFrameViewSize, backColour);
    view.setBackColour(backColour);
    view.clear();
    const int n = spriteCount(f);
    const auto draw = [&](int i) {
        const FrameTile& t = f.tiles[static_cast<std::size_t>(i)];
        const ViewRect r = frameSpriteRect(t);
        const Bitmap pair = drawSpritePair(t.tileId, f.attributes[static_cast<std::size_t>(i)], art);
        stretchBlit(view, r.left, r.top, r.width, r.height, pair, 0, 0, 8, 16);
    };
    for (int i = 0; i < n; ++i) {
        if (i != front)
            draw(i);
    }
    if (front >= 0 && front < n)
        draw(front);
}

int frameSpriteAt(const SpriteFrame& f, int x, int y, int front)
{
    const int n = spriteCount(f);
    if (front >= 0 && front < n && frameSpriteRect(f.tiles[static_cast<std::size_t>(front)]).contains(x, y))
        return front;
    for (int i = n - 1; i >= 0; --i) {
        if (frameSpriteRect(f.tiles[static_cast<std::size_t>(i)]).contains(x, y))
            return i;
    }
    return -1;
}

void drawAnimationPreview(Bitmap& view, const SpriteFrame* frame, const SpriteFrame* onion, const SpriteArt& art)
{
    const ScreenColour backdrop = art.palette.size() >= 32 ? nesColorToRgb(art.palette[0], false, 0) : 0;
    if (view.width() != kPreviewSize || view.height() != kPreviewSize)
        view = Bitmap(kPreviewSize, kPreviewSize, backdrop);
    view.setBackColour(backdrop);
    view.clear();
    if (onion)
        drawPreviewSprites(view, *onion, art, kOnionOpacity);
    if (frame)
        drawPreviewSprites(view, *frame, art, 256);
    else
        drawUnreadableFrame(view, kFrameOrigin, kFrameOrigin, kUnreadableMarkerSize, kUnreadableMarkerSize);
}

std::string animationFrameMeaning(const Bytes& rom, FrameSet set, std::uint8_t frame)
{
    const std::string table = set == FrameSet::Player ? "player" : "enemy";
    const std::string named = "Frame " + hexPad(frame, 2);
    SpriteFrame f;
    if (const RomStatus s = readSpriteFrame(rom, set, frame, f); !s.ok())
        return named + " cannot be read with the " + table + " frames, so a crossed box stands for it: " + s.message();
    const std::string sprites = std::to_string(f.tileCount) + (f.tileCount == 1 ? " sprite" : " sprites");
    const int last = lastFrameIndex(rom, set);
    if (frame <= last)
        return named + " of the " + table + " frames: " + sprites + ".";
    return named + " is past the last " + table + " frame (" + (last < 0 ? std::string("none") : hexPad(last, 2))
        + "): the game reads it from the bytes behind the table, " + sprites + " here.";
}

std::optional<int> previousStep(int step, int stepCount)
{
    if (stepCount < 2 || step < 0 || step >= stepCount)
        return std::nullopt;
    return step == 0 ? stepCount - 1 : step - 1;
}

}  // namespace velmar
