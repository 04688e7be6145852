#include "actors/actor_drawing.h"

#include <algorithm>

#include "gfx/metatile_render.h"
#include "rom/address_map.h"

namespace velmar {

namespace {

constexpr int kAnchor = 64;
constexpr int kPlaceholderSize = 16;
constexpr ScreenColour kPlaceholderColour = rgb(255, 0, 255);

void place(ActorPicture& pic, int height, int a, int c, bool placeDirectly)
{
    if (placeDirectly) {
        pic.left = a;
        pic.top = c;
    } else {
        pic.left = actorScreenX(static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(c));
        pic.top = actorBottomY(static_cast<std::uint8_t>(c)) - height;
    }
}

}  // namespace

ActorPicture placeholderActor(const Bitmap& map, int a, int c, bool placeDirectly)
{
    ActorPicture pic;
    pic.placeholder = true;
    place(pic, kPlaceholderSize, a, c, placeDirectly);
    pic.image = Bitmap(kPlaceholderSize, kPlaceholderSize, 0);
    blit(pic.image, 0, 0, kPlaceholderSize, kPlaceholderSize, map, pic.left, pic.top);
    // A magenta box with both diagonals, the map showing through.
    const int last = kPlaceholderSize - 1;
    for (int i = 0; i < kPlaceholderSize; ++i) {
        for (const auto& [x, y] : {std::pair{i, 0}, {i, last}, {0, i}, {last, i}, {i, i}, {i, last - i}})
            pic.image.setPixel(x, y, kPlaceholderColour);
    }
    return pic;
}

ComposedFrame composeFrame(const SpriteFrame& f, const PixelArray& sprPatterns, const PixelArray& bkgPatterns,
                           PaletteView palette)
{
    const int n = std::min<int>(f.tileCount, static_cast<int>(std::min(f.tiles.size(), f.attributes.size())));
    // The box around the anchor and every sprite's two halves.
    int minX = kAnchor, maxX = kAnchor, minY = kAnchor, maxY = kAnchor;
    for (int i = 0; i < n; ++i) {
        const FrameTile& t = f.tiles[static_cast<std::size_t>(i)];
        const int x = (t.offsetX + kAnchor) & 0xFF;
        const int y = (t.offsetY + kAnchor) & 0xFF;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y + 8);
    }
    ComposedFrame out;
    out.image = Bitmap(maxX - minX + 8, maxY - minY + 8, kKeyColour);
    out.anchorX = kAnchor - minX;
    out.anchorY = kAnchor - minY;
    for (int i = 0; i < n; ++i) {
        const FrameTile& t = f.tiles[static_cast<std::size_t>(i)];
        const int attr = f.attributes[static_cast<std::size_t>(i)];
        const int x = ((t.offsetX + kAnchor) & 0xFF) - minX;
        const int y = ((t.offsetY + kAnchor) & 0xFF) - minY;
        // 8 x 16 sprites: an even tile is a sprite-bank pair, an odd one a background-bank pair.
        const bool fromBkg = (t.tileId & 1) != 0;
        const PixelArray& bank = fromBkg ? bkgPatterns : sprPatterns;
        const auto upper = static_cast<std::uint8_t>(fromBkg ? t.tileId - 1 : t.tileId);
        const auto lower = static_cast<std::uint8_t>(upper + 1);
        const bool flipped = (attr & 0x80) != 0;
        if (drawSpriteTile(bank, flipped ? lower : upper, out.image, x, y, attr, palette) != DrawResult::Ok)
            break;  // a short palette draws no sprite: the picture stays empty
        (void)drawSpriteTile(bank, flipped ? upper : lower, out.image, x, y + 8, attr, palette);  // as the half above
    }
    return out;
}

ActorPicture drawActor(SpriteFrame& f, const ActorCanvas& canvas, int a, int c, bool placeDirectly)
{
    const int n = std::min<int>(f.tileCount, static_cast<int>(std::min(f.tiles.size(), f.attributes.size())));
    if (n == 0) {
        ActorPicture pic = placeholderActor(canvas.map, a, c, placeDirectly);
        f.left = pic.left;
        f.top = pic.top;
        f.width = static_cast<std::int16_t>(pic.width());
        f.height = static_cast<std::int16_t>(pic.height());
        return pic;
    }

    const ComposedFrame sprite = composeFrame(f, canvas.sprPatterns, canvas.bkgPatterns, canvas.palette);
    const int width = sprite.image.width();
    const int height = sprite.image.height();
    ActorPicture pic;
    place(pic, height, a, c, placeDirectly);
    f.left = pic.left;
    f.top = pic.top;
    f.width = static_cast<std::int16_t>(width);
    f.height = static_cast<std::int16_t>(height);

    // Mask: white where transparent; the map behind goes into those parts; the sprite is OR-ed on.
    Bitmap mask;
    makeMask(sprite.image, mask, kKeyColour);
    blit(mask, 0, 0, width, height, canvas.map, pic.left, pic.top, RasterOp::And);
    pic.image = Bitmap(width, height, 0xFFFFFF);
    blit(pic.image, 0, 0, width, height, mask, 0, 0, RasterOp::And);
    blit(pic.image, 0, 0, width, height, sprite.image, 0, 0, RasterOp::Or);
    return pic;
}

RomStatus enemySprite(const Bytes& rom, std::uint8_t id, SpriteFrame& out)
{
    std::uint8_t frame = 0;
    if (RomStatus s = enemyFirstFrame(rom, id, frame); !s.ok())
        return s;
    return readSpriteFrame(rom, FrameSet::Enemy, frame, out);
}

RomStatus itemSprite(const Bytes& rom, std::uint8_t itemAnimation, SpriteFrame& out)
{
    std::uint8_t frame = 0;
    if (RomStatus s = animationFirstFrame(rom, itemAnimation, frame); !s.ok())
        return s;
    return readSpriteFrame(rom, FrameSet::Player, frame, out);
}

RomStatus playerStartSprite(const Bytes& rom, SpriteFrame& out)
{
    return readSpriteFrame(rom, FrameSet::Player, 0, out);
}

std::vector<ActorPicture> drawAllEnemies(const Bytes& rom, const SceneRecord& scene, const ActorCanvas& canvas)
{
    std::vector<ActorPicture> out;
    out.reserve(scene.enemies.size());
    for (const EnemyRecord& e : scene.enemies) {
        SpriteFrame f;
        if (enemySprite(rom, e.id, f).ok())
            out.push_back(drawActor(f, canvas, e.b, e.xy, false));
        else
            out.push_back(placeholderActor(canvas.map, e.b, e.xy, false));
    }
    return out;
}

std::vector<ActorPicture> drawAllItems(const Bytes& rom, const SceneRecord& scene, const ActorCanvas& canvas)
{
    std::vector<ActorPicture> out;
    out.reserve(scene.items.size());
    SpriteFrame sprite;
    const bool ok = itemSprite(rom, scene.itemAnimation, sprite).ok();
    for (const ItemRecord& item : scene.items) {
        SpriteFrame f = sprite;
        out.push_back(ok ? drawActor(f, canvas, item.x, item.y, false)
                         : placeholderActor(canvas.map, item.x, item.y, false));
    }
    return out;
}

ActorPicture drawPlayerStart(const Bytes& rom, const SceneRecord& scene, const ActorCanvas& canvas)
{
    const int left = (scene.direction == 0 ? 0 : mapWidth(scene) - kScreenWidth) + scene.startX - 8;
    const int top = scene.startY - 86;
    SpriteFrame f;
    if (!playerStartSprite(rom, f).ok())
        return placeholderActor(canvas.map, left, top, true);
    return drawActor(f, canvas, left, top, true);
}

void pastePicture(Bitmap& surface, const ActorPicture& picture)
{
    blit(surface, picture.left, picture.top, picture.width(), picture.height(), picture.image, 0, 0);
}

}  // namespace velmar
