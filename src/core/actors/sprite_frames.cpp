#include "actors/sprite_frames.h"

#include <array>

#include "rom/address_map.h"
#include "rom/rom_access.h"

namespace velmar {

using namespace rommap;

namespace {

constexpr RomOffset kActorBase = bankStart(kActorBank);
constexpr RomOffset kActorBankEnd = bankStart(kActorBank + 1);

struct FrameTables {
    RomOffset tiles;
    RomOffset attributes;
};

FrameTables tablesOf(FrameSet set)
{
    return set == FrameSet::Enemy ? FrameTables{kEnemyFrameTiles, kEnemyFrameAttributes}
                                  : FrameTables{kPlayerFrameTiles, kPlayerFrameAttributes};
}

constexpr std::array<EnemyAnimationSite, 33> kSites{{
    {0xC1F9, 0xC2AF, 0x1C213}, {0xC2B6, 0xC33B, 0x1C2D2}, {0xC344, 0xC3B8, 0x1C358}, {0xC3BD, 0xC3F5, 0x1C3D1},
    {0xC402, 0xC4CE, 0x1C422}, {0xC4D5, 0xC531, 0x1C4E7}, {0xC53C, 0xC5BA, 0x1C546}, {0xC5C1, 0xC610, 0x1C5DB},
    {0xC615, 0xC67A, 0x1C644}, {0xC67F, 0xC6CD, 0x1C699}, {0xC6D4, 0xC734, 0x1C6DE}, {0xC739, 0xC7A4, 0x1C753},
    {0xC7AB, 0xC81D, 0x1C7C7}, {0xC828, 0xC8B3, 0x1C83F}, {0xC8BE, 0xC9B3, 0x1C8D2}, {0xC9BA, 0xCA25, 0x1C9E0},
    {0xCA2E, 0xCAA0, 0x1CA48}, {0xCAA5, 0xCAE4, 0x1CADB}, {0xCAE9, 0xCB30, 0x1CB26}, {0xCB37, 0xCB6E, 0x1CB65},
    {0xCB73, 0xCBBD, 0x1CBB4}, {0xCBC2, 0xCC08, 0x1CBE5}, {0xCCA5, 0xCD38, 0x1CCCC}, {0xCD41, 0xCDFB, 0x1CD6B},
    {0xCE7F, 0xCFA1, 0x1CEB2}, {0xCFB6, 0xD0EA, 0x1D019}, {0xD0F7, 0xD1C2, 0x1D127}, {0xD1C9, 0xD21E, 0x1D1CE},
    {0xD223, 0xD2AD, 0x1D241}, {0xD32D, 0xD356, 0x1D34D}, {0xD35B, 0xD408, 0x1D385}, {0xD443, 0xD524, 0x1D467},
    {0xD52B, 0xD55B, 0x1D547},
}};

}  // namespace

int frameTableCapacity(FrameSet set)
{
    // Enemy tile pointers run 0x8000-0x81FF; player ones 0x8400-0x84FF.
    return set == FrameSet::Enemy ? 256 : 128;
}

RomStatus readSpriteFrame(const Bytes& rom, FrameSet set, std::uint8_t frame, SpriteFrame& out)
{
    const FrameTables t = tablesOf(set);
    RomReader r(rom);
    SpriteFrame f;
    const RomOffset p = r.pointer(t.tiles + 2 * frame, kActorBase);
    const RomOffset q = r.pointer(t.attributes + 2 * frame, kActorBase);
    f.tileCount = r.byte(p);
    f.tiles.resize(f.tileCount);
    f.attributes.resize(f.tileCount);
    for (int i = 0; i < f.tileCount; ++i) {
        FrameTile& tile = f.tiles[static_cast<std::size_t>(i)];
        tile.tileId = r.byte(p + 1 + 3 * i);
        tile.offsetX = r.byte(p + 2 + 3 * i);
        tile.offsetY = r.byte(p + 3 + 3 * i);
        f.attributes[static_cast<std::size_t>(i)] = r.byte(q + i);
    }
    f.tilesAddress = r.word(t.tiles + 2 * frame);
    f.attributesAddress = r.word(t.attributes + 2 * frame);
    if (r.ok())
        out = std::move(f);
    return r.status();
}

RomStatus writeSpriteFrame(Bytes& rom, FrameSet set, std::uint8_t frame, const SpriteFrame& f)
{
    const FrameTables t = tablesOf(set);
    RomReader r(rom);
    const RomOffset p = r.pointer(t.tiles + 2 * frame, kActorBase);
    const RomOffset q = r.pointer(t.attributes + 2 * frame, kActorBase);
    if (!r.ok())
        return r.status();
    if (f.tiles.size() < f.tileCount || f.attributes.size() < f.tileCount)
        return RomStatus::badData(p, "The frame holds fewer sprites than its count");
    RomWriter w(rom);
    w.byte(p, f.tileCount);
    for (int i = 0; i < f.tileCount; ++i) {
        const FrameTile& tile = f.tiles[static_cast<std::size_t>(i)];
        w.byte(p + 1 + 3 * i, tile.tileId);
        w.byte(p + 2 + 3 * i, tile.offsetX);
        w.byte(p + 3 + 3 * i, tile.offsetY);
        w.byte(q + i, f.attributes[static_cast<std::size_t>(i)]);
    }
    return w.commit();
}

int lastFrameIndex(const Bytes& rom, FrameSet set)
{
    const FrameTables t = tablesOf(set);
    RomReader r(rom);
    int count = 0;
    while (count < frameTableCapacity(set) && r.byte(t.tiles + 2 * count) != 0xFF && r.ok())
        ++count;
    return count - 1;
}

RomStatus readAnimation(const Bytes& rom, int animation, Bytes& out)
{
    RomReader r(rom);
    const RomOffset p = r.pointer(kAnimations + 2 * animation, kActorBase);
    Bytes pairs;
    for (RomOffset i = 0; r.ok(); i += 2) {
        if (p + i + 1 >= kActorBankEnd)
            return RomStatus::badData(p, "Animation " + std::to_string(animation) + " has no end");
        const std::uint8_t timer = r.byte(p + i);
        if (i > 0 && (timer == 0x00 || timer == 0xFF))
            break;
        pairs.push_back(timer);
        pairs.push_back(r.byte(p + i + 1));
    }
    if (r.ok())
        out = std::move(pairs);
    return r.status();
}

RomStatus writeAnimation(Bytes& rom, int animation, const Bytes& pairs)
{
    RomReader r(rom);
    const RomOffset p = r.pointer(kAnimations + 2 * animation, kActorBase);
    if (!r.ok())
        return r.status();
    RomWriter w(rom);
    w.bytes(p, pairs);
    return w.commit();
}

RomStatus animationFirstFrame(const Bytes& rom, int animation, std::uint8_t& frame)
{
    RomReader r(rom);
    const RomOffset p = r.pointer(kAnimations + 2 * animation, kActorBase);
    const std::uint8_t f = r.byte(p + 1);
    if (r.ok())
        frame = f;
    return r.status();
}

std::span<const EnemyAnimationSite> enemyAnimationSites() { return kSites; }

RomStatus enemyFirstFrame(const Bytes& rom, int id, std::uint8_t& frame)
{
    RomReader r(rom);
    const RomOffset h = r.pointer(kEnemyHandlers + 2 * (id & 0xFF), kActorBase);
    const CpuAddress handler = r.word(h);
    if (!r.ok())
        return r.status();
    for (const EnemyAnimationSite& site : kSites) {
        if (handler >= site.first && handler <= site.last)
            return animationFirstFrame(rom, r.byte(site.animationByte), frame);
    }
    frame = 0;
    return {};
}

}  // namespace velmar
