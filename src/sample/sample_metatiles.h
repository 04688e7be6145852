#pragma once

#include <cstdint>

#include "rom/rom_access.h"

// The sample's subtile, metatile and attribute tables in bank 1.
//
// The four metatile tables overlap: table m starts at 0x6000 + 0x200 * m and is 0x400 bytes
// long, so its entries 128-255 are entries 0-127 of table m + 1. The sample therefore builds
// five halves of 128 metatiles, each in its own look (natural, masonry, deep, wet, high), and
// table m is half m followed by half m + 1. Every half holds the same building blocks at the
// same entries, so a map names a block by its role and by which half of its table it takes.
// The attribute tables (0x7000 + 0x100 * m) do not overlap; each repeats the palettes of the
// blocks of both halves of its table.
namespace velmar::sample {

enum class Role : std::uint8_t {
    Sky,
    Detail,
    Cloud,
    GroundTop,
    Ground,
    GroundTopEdgeL,
    GroundTopEdgeR,
    GroundEdgeL,
    GroundEdgeR,
    Brick,
    Block,
    Platform,
    Ladder,
    WaterTop,
    Water,
    Pillar,
    PillarTop,
    Canopy,
    Bush,
    Spikes,
    BackWall,
    Window,
    Door,
    Torch,
    HillUp,
    HillDown,
    Fence,
    Rock,
    Battlement,
    Chain,
    Reeds,
    WaterPlatform,
    PlatformLadder,
    Count
};
constexpr int kRoleCount = static_cast<int>(Role::Count);

// The metatile number of a block in the first (entries 0-127) or second half of a table.
constexpr std::uint8_t metatileNumber(Role role, bool secondHalf)
{
    return static_cast<std::uint8_t>(static_cast<int>(role) + (secondHalf ? 128 : 0));
}

// True for blocks an actor can stand on.
bool isSolid(Role role);

// Records the eight subtile tables, the overlapping metatile tables and the attribute tables.
void writeMetatileTables(RomWriter& writer);

}  // namespace velmar::sample
