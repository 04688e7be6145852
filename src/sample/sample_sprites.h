#pragma once

#include "rom/rom_access.h"

// The sample's sprite frames, animations and enemy handler table.
//
// Bank 2: enemy frames (tile lists 0x8000, attribute lists 0x8200), player frames (0x8400,
// 0x8500), animation pointers (0x8600); each pointer table ends with 0xFF filler, and the frame
// and animation data lie from 0x88E0. Bank 7: the enemy handler pointers at 0xC195 + 2 * id
// lead to handler addresses at 0xD600 + 2 * id, each inside one of the game's handler ranges,
// whose animation byte names the enemy's animation.
namespace velmar::sample {

constexpr int kAnimationCount = 109;  // the sprite editor browses animations 0-108
constexpr int kEnemyTypeCount = 41;   // enemy ids 0-40

// The animation whose first frame (in the player frame set) stands for a stage's items.
int stageItemAnimation(int stage);

void writeSprites(RomWriter& writer);

}  // namespace velmar::sample
