#pragma once

#include <span>
#include <vector>

#include "rom/types.h"

namespace velmar {

// One 8 x 16 hardware sprite of a frame, in memory order (the ROM stores tile, X, Y).
struct FrameTile {
    std::uint8_t offsetX = 0;
    std::uint8_t offsetY = 0;
    std::uint8_t tileId = 0;  // even: sprite bank tiles t, t + 1; odd: background tiles t - 1, t

    bool operator==(const FrameTile&) const = default;
};

struct SpriteFrame {
    std::uint8_t tileCount = 0;
    std::vector<FrameTile> tiles;
    std::vector<std::uint8_t> attributes;  // NES sprite attribute byte per sprite
    CpuAddress tilesAddress = 0;           // as stored in the pointer tables, unconverted
    CpuAddress attributesAddress = 0;
    // Where drawActor put the picture on the map view, and its size.
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;

    bool operator==(const SpriteFrame&) const = default;
};

// Set 0 draws the enemies, set 1 the player start and every item.
enum class FrameSet : int { Enemy = 0, Player = 1 };

// Entries in each frame set's pointer tables (their room in bank 2).
int frameTableCapacity(FrameSet set);

// Reads frame k of a set. `out` is replaced only on success.
RomStatus readSpriteFrame(const Bytes& rom, FrameSet set, std::uint8_t frame, SpriteFrame& out);

// Writes the frame back in place; its tile count must be the one read. Nothing is written when a
// pointer is bad or the lists would leave the image.
RomStatus writeSpriteFrame(Bytes& rom, FrameSet set, std::uint8_t frame, const SpriteFrame& f);

// The number of the set's last frame: frames run while the low byte of their tile-list pointer is
// not 0xFF. -1 when the set has no frame; at most the table's capacity - 1.
int lastFrameIndex(const Bytes& rom, FrameSet set);

// Animation a: (timer, frame) pairs, ended by the first pair after the first whose timer is 0x00
// or 0xFF (the first pair always belongs). An animation that runs past bank 2 without an end fails.
RomStatus readAnimation(const Bytes& rom, int animation, Bytes& out);

// Writes the pairs back in place (the end byte is not written).
RomStatus writeAnimation(Bytes& rom, int animation, const Bytes& pairs);

// The frame of the first pair of animation a.
RomStatus animationFirstFrame(const Bytes& rom, int animation, std::uint8_t& frame);

// Where the game's enemy handlers keep their animation number: a handler whose CPU address lies
// in [first, last] takes its animation from the byte at `animationByte`.
struct EnemyAnimationSite {
    CpuAddress first;
    CpuAddress last;
    RomOffset animationByte;
};
std::span<const EnemyAnimationSite> enemyAnimationSites();

// The enemy frame that stands for enemy type `id`: through the handler pointer at 0x1C195 + 2 id,
// the handler's address, its site's animation and that animation's first frame. A handler in no
// site gives frame 0. A bad pointer fails.
RomStatus enemyFirstFrame(const Bytes& rom, int id, std::uint8_t& frame);

}  // namespace velmar
