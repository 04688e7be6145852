#include "sample/sample_sprites.h"

#include <array>
#include <vector>

#include "actors/sprite_frames.h"
#include "rom/address_map.h"
#include "sample/sample_sprite_art.h"

namespace velmar::sample {

using namespace rommap;

namespace {

constexpr RomOffset kFrameDataStart = 0x88E0;
constexpr RomOffset kFrameDataEnd = 0x9B48;  // the packed actor tables start here
// Room of each pointer table up to the next one: 256 enemy frames, 128 player frames, 128
// animations. Unused entries hold 0xFF.
constexpr int kEnemyPointerBytes = 0x200;
constexpr int kPlayerPointerBytes = 0x100;
constexpr int kAnimationPointerBytes = 0x100;
constexpr RomOffset kHandlerWords = 0x1D600;  // CPU 0xD600, after the last handler range
constexpr CpuAddress kHandlerWordsCpu = 0xD600;

struct Sprite {
    int tile;
    std::uint8_t x;  // offsets from the anchor; 0xF8 is 8 pixels left
    std::uint8_t y;
    std::uint8_t attributes;
};
using Frame = std::vector<Sprite>;

constexpr std::uint8_t kMirror = 0x40;

// A symmetric 16x32 creature: its left column, then the same tiles mirrored on the right.
Frame creatureFrame(int slot, int palette, int lift)
{
    const int t = creatureTile(slot);
    const auto top = static_cast<std::uint8_t>(0xE0 - lift);
    const auto bottom = static_cast<std::uint8_t>(0xF0 - lift);
    const auto a = static_cast<std::uint8_t>(palette);
    return {{t, 0xF8, top, a},
            {t + 2, 0xF8, bottom, a},
            {t, 0x00, top, static_cast<std::uint8_t>(a | kMirror)},
            {t + 2, 0x00, bottom, static_cast<std::uint8_t>(a | kMirror)}};
}

// The player in sub-palette 0; facing left swaps the columns and mirrors each sprite.
Frame playerFrame(int pose, bool left)
{
    const int t = playerPoseTile(pose);
    if (!left)
        return {{t, 0xF8, 0xE0, 0}, {t + 2, 0xF8, 0xF0, 0}, {t + 4, 0x00, 0xE0, 0}, {t + 6, 0x00, 0xF0, 0}};
    return {{t + 4, 0xF8, 0xE0, kMirror},
            {t + 6, 0xF8, 0xF0, kMirror},
            {t, 0x00, 0xE0, kMirror},
            {t + 2, 0x00, 0xF0, kMirror}};
}

// An item icon in sub-palette 1, 16x16 standing on the anchor.
Frame itemFrame(int icon, int lift)
{
    const int t = itemIconTile(icon);
    const auto y = static_cast<std::uint8_t>(0xF0 - lift);
    return {{t, 0xF8, y, 1}, {t, 0x00, y, 1 | kMirror}};
}

// Enemy frames: creature slot s in sub-palette 2 + v, standing (pose 0) or lifted by a pixel.
constexpr int enemyFrame(int slot, int variant, int pose) { return 4 * slot + 2 * variant + pose; }

std::vector<Frame> enemyFrames()
{
    std::vector<Frame> frames;
    for (int slot = 0; slot < kCreatureCount; ++slot)
        for (int variant = 0; variant < 2; ++variant)
            for (int pose = 0; pose < 2; ++pose)
                frames.push_back(creatureFrame(slot, 2 + variant, pose));
    return frames;
}

// Player frames: poses 0-2 facing right, 3-5 facing left, then two frames per item icon.
constexpr int kFirstItemFrame = 2 * kPlayerPoseCount;

std::vector<Frame> playerFrames()
{
    std::vector<Frame> frames;
    for (const bool left : {false, true})
        for (int pose = 0; pose < kPlayerPoseCount; ++pose)
            frames.push_back(playerFrame(pose, left));
    for (int icon = 0; icon < kItemIconCount; ++icon) {
        frames.push_back(itemFrame(icon, 0));
        frames.push_back(itemFrame(icon, 1));
    }
    return frames;
}

// Animations: 0-32 the enemies of the 33 handlers; 33-38 the player; 39-46 the items; the rest
// quicker enemy cycles. Each is (timer, frame) pairs; no timer after the first is 0 or 0xFF.
constexpr int kHandlerAnimations = 33;
constexpr int kFirstItemAnimation = 39;

Bytes enemyCycle(int n, int timer)
{
    const int slot = n % kCreatureCount;
    const int variant = (n / kCreatureCount) % 2;
    return {static_cast<std::uint8_t>(timer), static_cast<std::uint8_t>(enemyFrame(slot, variant, 0)),
            static_cast<std::uint8_t>(timer), static_cast<std::uint8_t>(enemyFrame(slot, variant, 1))};
}

std::vector<Bytes> animations()
{
    std::vector<Bytes> list;
    for (int r = 0; r < kHandlerAnimations; ++r)
        list.push_back(enemyCycle(r, 6 + r % 5));
    // The player: stand, walk, jump facing right, then the same facing left.
    list.push_back({0x20, 0});
    list.push_back({0x08, 0, 0x08, 1});
    list.push_back({0x10, 2});
    list.push_back({0x20, 3});
    list.push_back({0x08, 3, 0x08, 4});
    list.push_back({0x10, 5});
    for (int icon = 0; icon < kItemIconCount; ++icon) {
        const auto f = static_cast<std::uint8_t>(kFirstItemFrame + 2 * icon);
        list.push_back({0x10, f, 0x08, static_cast<std::uint8_t>(f + 1)});
    }
    for (int n = 0; static_cast<int>(list.size()) < kAnimationCount; ++n)
        list.push_back(enemyCycle(n, 3 + n % 3));
    return list;
}

// Lays data out from 0x88E0 upwards. A frame set ends at the first pointer whose low byte is
// 0xFF, so no block may start at such an address.
class DataArea {
public:
    explicit DataArea(RomWriter& writer) : writer_(writer) { }

    RomOffset place(const Bytes& bytes)
    {
        if ((next_ & 0xFF) == 0xFF)
            ++next_;
        const RomOffset at = next_;
        if (at + static_cast<RomOffset>(bytes.size()) > kFrameDataEnd) {
            writer_.fail(RomStatus::badData(at, "The sample's frames do not fit before the actor tables"));
            return at;
        }
        writer_.bytes(at, bytes);
        next_ += static_cast<RomOffset>(bytes.size());
        return at;
    }

private:
    RomWriter& writer_;
    RomOffset next_ = kFrameDataStart;
};

void writeFrameSet(RomWriter& writer, DataArea& area, const std::vector<Frame>& frames, RomOffset tilePointers,
                   RomOffset attributePointers, int tableBytes)
{
    writer.fill(tilePointers, static_cast<std::size_t>(tableBytes), 0xFF);
    writer.fill(attributePointers, static_cast<std::size_t>(tableBytes), 0xFF);
    for (std::size_t f = 0; f < frames.size(); ++f) {
        Bytes tiles{static_cast<std::uint8_t>(frames[f].size())};
        Bytes attributes;
        for (const Sprite& s : frames[f]) {
            tiles.insert(tiles.end(), {static_cast<std::uint8_t>(s.tile), s.x, s.y});
            attributes.push_back(s.attributes);
        }
        const auto entry = static_cast<RomOffset>(2 * f);
        writer.word(tilePointers + entry, static_cast<std::uint16_t>(romOffsetToCpu(area.place(tiles))));
        writer.word(attributePointers + entry, static_cast<std::uint16_t>(romOffsetToCpu(area.place(attributes))));
    }
}

void writeHandlers(RomWriter& writer)
{
    for (int id = 0; id < kEnemyTypeCount; ++id) {
        const EnemyAnimationSite& site = enemyAnimationSites()[static_cast<std::size_t>(id % kHandlerAnimations)];
        writer.word(kEnemyHandlers + 2 * id, static_cast<std::uint16_t>(kHandlerWordsCpu + 2 * id));
        // Types beyond the 33th share a handler range, entering it one byte later.
        writer.word(kHandlerWords + 2 * id, static_cast<std::uint16_t>(site.first + id / kHandlerAnimations));
    }
    for (int r = 0; r < kHandlerAnimations; ++r)
        writer.byte(enemyAnimationSites()[static_cast<std::size_t>(r)].animationByte, static_cast<std::uint8_t>(r));
}

}  // namespace

int stageItemAnimation(int stage) { return kFirstItemAnimation + stage % kItemIconCount; }

void writeSprites(RomWriter& writer)
{
    DataArea area(writer);
    writeFrameSet(writer, area, enemyFrames(), kEnemyFrameTiles, kEnemyFrameAttributes, kEnemyPointerBytes);
    writeFrameSet(writer, area, playerFrames(), kPlayerFrameTiles, kPlayerFrameAttributes, kPlayerPointerBytes);

    writer.fill(kAnimations, kAnimationPointerBytes, 0xFF);
    const std::vector<Bytes> list = animations();
    for (std::size_t a = 0; a < list.size(); ++a) {
        Bytes bytes = list[a];
        bytes.push_back(0xFF);  // the end mark
        writer.word(kAnimations + static_cast<RomOffset>(2 * a),
                    static_cast<std::uint16_t>(romOffsetToCpu(area.place(bytes))));
    }
    writeHandlers(writer);
}

}  // namespace velmar::sample
