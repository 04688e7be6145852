#pragma once

#include "rom/rom_file.h"

namespace velmar {

// The built-in sample image: a complete, consistent image of the game's layout (header "NES"
// 0x1A, 8 PRG banks of 16 KB, 16 CHR banks of 8 KB, mapper 1) made of our own data. Every scene
// of the area catalogue loads and looks like a level. Deterministic: the same bytes every time.
RomImage buildSampleRom();

}  // namespace velmar
