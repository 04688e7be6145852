#pragma once

#include "rom/rom_access.h"
#include "sample/sample_maps.h"

namespace velmar::sample {

// Places the items and enemies of every scene on its map (enemies on the floor, items on the
// highest ledge, none where the player starts), each list ordered by its first byte as a stored
// scene keeps it, and packs the tables from 0x9B48 the way the actor packer does: the item
// X and Y/ID tables of all scenes, then their enemy B, XY and ID tables, in scene order.
// Records the five pointer tables and both counts; the rest of bank 2 becomes 0xFF.
void writeActors(RomWriter& writer, const SceneLayouts& layouts);

}  // namespace velmar::sample
