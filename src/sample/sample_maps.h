#pragma once

#include <array>
#include <vector>

#include "expansion/resize_result.h"
#include "rom/address_map.h"
#include "rom/types.h"

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

// Packs the maps of all 48 scenes with the editor's map packer, each scrolling the way its plan
// says. Fails (NoSpace) only if the sample's maps outgrow the map area.
Outcome<ResizeResult> writeMaps(Bytes& rom, const SceneLayouts& layouts);

}  // namespace velmar::sample
