#pragma once

#include "expansion/resize_result.h"
#include "sample/sample_maps.h"

namespace velmar::sample {

// Places the items and enemies of every scene on its map (enemies on the floor, items on the
// highest ledge, none where the player starts), each list ordered by its first byte as a stored
// scene keeps it, and packs them with the editor's actor packer; the rest of bank 2 becomes 0xFF
// filler, room the tables may grow into.
Outcome<ResizeResult> writeActors(Bytes& rom, const SceneLayouts& layouts);

}  // namespace velmar::sample
