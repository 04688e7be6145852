#pragma once

#include "gfx/pattern_tiles.h"

// The tiles of the sample's sprite banks (banks 0-3). All four share one layout, so the frames
// read the same tile numbers whatever bank a scene uses; the banks differ in which creature
// sits in which slot. Every sprite is 8x16: tile t (even) above tile t + 1.
namespace velmar::sample {

// The player, 16x32, facing right: stand, walk, jump. Pose p uses tiles 8p .. 8p+7: left
// column upper sprite, left lower, right upper, right lower.
constexpr int kPlayerPoseCount = 3;
constexpr int playerPoseTile(int pose) { return 8 * pose; }

// Item icons, 16x16 and symmetric: one 8x16 sprite drawn twice, the right one mirrored.
constexpr int kItemIconCount = 8;
constexpr int itemIconTile(int icon) { return 0x18 + 2 * icon; }

// Creatures, 16x32 and symmetric: the left column (upper and lower sprite, 4 tiles), drawn
// again mirrored on the right.
constexpr int kCreatureCount = 12;
constexpr int creatureTile(int slot) { return 0x40 + 4 * slot; }

PixelArray drawSpriteBank(int bank);

}  // namespace velmar::sample
