#pragma once

#include "rom/rom_access.h"
#include "sample/sample_maps.h"

namespace velmar::sample {

// Records the stage tables (tileset, BKG bank, reload, indicator, item animation, time, the
// background sub-palette selectors 1-3), the per-scene tables (shared colour and SPR bank,
// sprite sub-palette selectors 2-3, player start) and the colours: the three-byte palettes at
// 0x3000 and 0x3100, the shared background colours at 0x3200 and the three selectors every
// scene shares. Each stage has its own background palettes and each stage's scenes their own
// sprite palettes 2-3, so no two stages' colours collide.
void writeLevelTables(RomWriter& writer, const SceneLayouts& layouts);

}  // namespace velmar::sample
