#pragma once

#include <array>
#include <vector>

#include "rom/address_map.h"
#include "rom/rom_access.h"

namespace velmar::sample {

// One scene's map and where actors can stand on it.
struct SceneLayout {
    // (length + 1) screens of 48 metatile numbers, column by column.
    Bytes map;
    // Per 16-pixel map column: the y of the floor's top (the lowest surface an actor can
    // stand on), or -1 over a pit.
    std::vector<int> floorY;
    // Per 16-pixel map column: the y of the highest such surface (a ledge, or the floor).
    std::vector<int> perchY;
};

// Generates the map of a scene from its plan: ground with steps and pits, ledges, ladders and
// the decorations of the stage's theme. The same scene always gives the same map.
SceneLayout buildSceneLayout(int scene);

using SceneLayouts = std::array<SceneLayout, rommap::kSceneCount>;

// Packs the maps of all 48 scenes in scene order from 0x8000 (romData 0x0000): a map whose
// last byte would fall inside the tables at 0x2401-0x358F goes to 0xB590 (romData 0x3590)
// instead, and the maps after it follow it there. Records the map pointers at 0x2C30 and the
// direction and length bytes at 0x2D20. Fails the writer if the maps pass 0x3FC0.
void writeMaps(RomWriter& writer, const SceneLayouts& layouts);

}  // namespace velmar::sample
